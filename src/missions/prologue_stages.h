// What the two halves of the prologue share: the stages of the hideout half, which the one stage
// switch in prologue.cpp calls, and the per-frame actions of their waits.
#pragma once

#include "core/native/invoke.h"

namespace brimvale {

// Each runs one pass of its stage and moves the stage on when it is done.
void RunTitleCardAndHideout();
void RunAfterGunslingerScene();
void RunGoToHideout();
void RunSearchHideout();
void RunSpawnGang();
void RunEliminateGang();
void RunDeliverLeader();
void RunFreeRoamHandOver();

Vector3 PlayerPosition();

}  // namespace brimvale
