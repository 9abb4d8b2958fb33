// What the two halves of the prologue share: the stages of the hideout half, which the one stage
// switch in prologue.cpp calls, and the per-frame actions of their waits.
#pragma once

#include "core/native/invoke.h"

namespace brimvale {

// Each runs one pass of its stage and moves the stage on when it is done.
void RunTitleCardAndHideout();   // 8
void RunAfterGunslingerScene();  // 9
void RunGoToHideout();           // 10
void RunSearchHideout();         // 11
void RunSpawnGang();             // 12
void RunEliminateGang();         // 13
void RunDeliverLeader();         // 14
void RunFreeRoamHandOver();      // 15

Vector3 PlayerPosition();

}  // namespace brimvale
