// Mission peds and what the game keeps about them, relationship groups, money, dead eye,
// transitions, music and audio flags, mission display modes, GPS routes, cleared areas and the
// game's own running scripts.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/native/invoke.h"

namespace brimvale::sim {

struct SimWeapon {
  Hash weapon = 0;
  int32_t ammo = 0;
  std::vector<int32_t> flags;  // the remaining arguments, in push order
};

// What the game keeps about a ped beyond its entity: set-up, tasks, perception and weapons.
struct ScenePed {
  int32_t spawnFlags[4] = {};  // the four creation flags
  int32_t spawnFlag = 0;
  int32_t relGroup = 0;
  bool blockEvents = false;
  int32_t combatTarget = 0;  // the ped it attacks, 0 when none
  bool keepTask = false;
  int32_t tasksCleared = 0;
  std::vector<SimWeapon> weapons;
  int32_t weaponsRemoved = 0;
  int32_t maxHealth = 0;
  std::map<int32_t, int32_t> attributeCores;  // core index -> value
  bool highRank = false;
  bool preparedForScene = false;
  std::vector<int32_t> sceneFlags;
  // Perception: a guard sees the player only when `seesPlayer` is set and the player is within the
  // range the query asks about; line of sight and noticing are separate switches.
  bool seesPlayer = false;
  bool lineOfSight = true;
  int32_t notices = 1;  // what PedNoticesPed returns when the ped perceives the other
  bool down = false;
};

// A relationship group lives by name: adding a name that exists hands back the same group.
struct SimRelGroup {
  std::string name;
  bool live = true;
};

struct MusicCall {
  int64_t frame = 0;
  std::string name;
  bool accepted = false;
};

struct IntroCard {
  std::string heading, title, description;
};

struct ClearedArea {
  Vector3 at{};
  float radius = 0.0f;
  int32_t flags = -1;  // -1: ClearAreaOfAmbient
};

struct GameThread {
  int32_t id = 0;
  std::string name;
  bool running = true;
};

struct SceneWorld {
  std::map<int32_t, ScenePed> peds;  // by entity handle, made on first touch
  // Creations the game refuses before it makes the next ped or vehicle (tests of the retry loop).
  int32_t creationRefusals = 0;
  std::vector<int32_t> released;  // handles handed back to the game
  std::vector<int32_t> deleted;

  std::map<int32_t, SimRelGroup> relGroups;                  // by handle
  std::map<std::pair<int32_t, int32_t>, int32_t> relations;  // (from, to) -> relationship value

  int32_t money = 0;  // cents
  std::vector<std::pair<int32_t, Hash>> cashAdded;
  int32_t deadEyeLevel = 0;
  std::map<int32_t, bool> deadEyeLocked;  // ability slot -> locked

  // Transitions: a started effect, or one the game runs itself, is active for this many more
  // frames; a transition scene loads some frames after its first request.
  int32_t transitionFrames = 10;
  int32_t transitionFramesLeft = 0;
  int32_t releasedTransitions = 0;
  std::map<std::string, int32_t> preparedEffects;  // name -> handle
  std::vector<int32_t> startedEffects;
  std::vector<std::string> stoppedEffects;
  int32_t transitionSceneLoadFrames = 3;
  std::map<std::string, int32_t> transitionScenes;  // name -> frames left, 0 when loaded

  // Music: an event with refusals left is turned down and the count drops by one.
  std::map<std::string, int32_t> musicRefusals;
  std::vector<MusicCall> music;
  std::string playingMusic;
  std::vector<std::string> preparedMusic;
  std::map<std::string, bool> audioFlags;
  std::vector<Hash> audioEvents;
  std::set<Hash> refusedAudioEvents;

  int32_t sceneOption = -1;
  int32_t missionUiMode = 0;
  bool sceneDisplay = false;
  bool worldDisplay = true;
  bool playerControl = true;
  std::vector<IntroCard> introCards;

  Hash gpsStyle = 0;
  std::vector<Vector3> gpsPoints;
  bool gpsShown = false;

  std::vector<ClearedArea> clearedAreas;

  std::vector<GameThread> threads;  // the game's running scripts, in scan order
  size_t threadScan = 0;            // the next to hand out
};

}  // namespace brimvale::sim
