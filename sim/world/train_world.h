// Trains and the train world, prompts, objects and what the player carries, the law, mounts,
// weapon groups and ammunition.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/native/invoke.h"

namespace brimvale::sim {

// A train is a vehicle entity; this is what the game keeps about it beyond the entity.
struct SimTrain {
  Hash configuration = 0;
  bool mission = false;  // made by CreateMissionTrain
  int32_t driver = 0;    // the ped in seat -1
  int64_t madeFrame = 0;
  float speed = 0.0f, targetSpeed = 0.0f, speedLimit = 0.0f;
  int32_t stopFlag = -1;
};

struct SimPrompt {
  Hash control = 0;
  std::string text;
  int32_t holdMode = 0;
  bool registered = false;  // PromptRegisterEnd was called
  bool enabled = false, visible = false;
  double heldMs = 0.0;  // how long its control has been held while it was shown
  bool holdCompleted = false;
};

struct SimObject {
  std::map<int32_t, bool> flags;
  int32_t option = -1;
  Hash config = 0;
  bool interactive = false;  // the player can pick it up
};

struct ReportedCrime {
  int64_t frame = 0;
  int32_t lawContext = 0;
  Hash crime = 0;
};

struct LawDispatch {
  int64_t frame = 0;
  Vector3 to{};
  Hash kind = 0;
};

struct PedCombat {
  bool prepared = false;
  int32_t style = -1, option = -1, flag = -1, level = -1;
};

struct WeaponKind {
  int32_t group = 0;
  int32_t capacity = 0;
  bool usable = true;
};

struct TrainWorld {
  // Trains in the order the game indexes them; a deleted train leaves the list.
  std::vector<int32_t> order;
  std::map<int32_t, SimTrain> byHandle;
  int32_t trainSettleFrames = 3;  // frames until a new train's state stops changing
  bool ambientTrains = true;      // SetTrainWorldFlag
  int32_t trainWorldResets = 0;
  bool trainWorldFrozen = false;
  std::map<Hash, int32_t> trackOptions;
  std::vector<int32_t> deletedTrains, discardedTrains;
  float boardingRange = 10.0f;  // from a train's position, the player is on it

  // Prompts are numbered from 1 and a deleted prompt's number is handed out again.
  std::map<int32_t, SimPrompt> prompts;
  std::set<Hash> heldControls;  // controls the player holds down
  double promptHoldMs = 1000.0;

  std::map<int32_t, SimObject> objects;  // by entity handle
  int32_t carried = 0;                   // the entity the player carries
  // What the player lays down leaves his shoulder over a short animation: the game reports it
  // as being put down (carry state 6) until the animation ends, then as free (0).
  int32_t puttingDown = 0;
  double putDownMsLeft = 0.0;
  double putDownMs = 1000.0;
  void StartPutDown() {
    puttingDown = carried;
    putDownMsLeft = putDownMs;
    carried = 0;
  }
  float pickUpRange = 2.0f;
  std::vector<std::pair<int32_t, Vector3>> placed;  // entities set down by TaskPlaceCarriedEntity

  // The law: a reported crime makes the player wanted (the wanted level is the player's, in
  // PlayerWorld); the law loses the player once he is lawSearchRadius away from where he was
  // last seen.
  bool lawResponding = false;
  Vector3 lastSeen{};
  float lawSearchRadius = 200.0f;
  std::vector<ReportedCrime> crimes;
  std::vector<LawDispatch> dispatches;
  std::map<char, int32_t> lawFlags;  // 'A', 'B', 'C'

  std::map<int32_t, PedCombat> combat;  // by ped
  float senseRange = 30.0f;             // a ped senses another this close

  int32_t horse = 0;      // the player's horse, made on first use
  int32_t mountedOn = 0;  // the horse the player rides
  std::map<int32_t, int32_t> mountMotion;

  std::map<Hash, WeaponKind> weaponKinds;
  std::map<int32_t, Hash> currentWeapon;  // by ped
  int32_t weaponRefreshes = 0;

  bool radarShown = true;
};

}  // namespace brimvale::sim
