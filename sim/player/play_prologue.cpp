// The prologue's segment: the new character breaks out of the penitentiary, finds the hideout and
// its chest, clears the gang hideout, brings the leader's body to Flaco and is set down in free
// roam. The player sees only what the game shows: objective lines, notices, blips and the world.
#include <cmath>

#include "natives/player_actions.h"
#include "player/player.h"

namespace brimvale::sim {
namespace {

constexpr Vector3 kFirstGuardPost{3400.893f, -783.875f, 41.785f};
constexpr Vector3 kShoreWater{3400.0f, -797.0f, 40.0f};
constexpr Vector3 kOpenSea{3266.0f, -990.0f, 40.0f};

float Distance(Vector3 a, Vector3 b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

Vector3 Beside(Vector3 at) {
  return {at.x + 1.0f, at.y, at.z};
}

Vector3 PositionOf(SimHost& host, int32_t entity) {
  const SimEntity* e = host.world.Find(entity);
  return e ? e->position : Vector3{};
}

// The nearest entity of a model, of any kind.
int32_t NearestOfModel(SimHost& host, const char* model, Vector3 near) {
  const Hash hash = GameHash(model);
  int32_t best = 0;
  for (const auto& [handle, e] : host.world.entities) {
    if (e.model != hash) continue;
    if (!best || Distance(e.position, near) < Distance(PositionOf(host, best), near)) best = handle;
  }
  return best;
}

const SimBlip* RadiusBlip(SimHost& host, Hash style) {
  for (const auto& [handle, blip] : host.world.blips.blips) {
    if (blip.kind == BlipKind::Radius && blip.style == style) return &blip;
  }
  return nullptr;
}

// Walks (a few units a frame) in a straight line, as a player would.
void TravelTo(Player& p, Vector3 to, float stride) {
  for (int step = 0; step < 2000 && p.ok; ++step) {
    const Vector3 at = p.host.PlayerPosition();
    const float left = Distance(at, to);
    if (left <= stride) {
      p.host.MovePlayer(to);
      p.host.RunFrame();
      return;
    }
    const float f = stride / left;
    p.host.MovePlayer(
        {at.x + (to.x - at.x) * f, at.y + (to.y - at.y) * f, at.z + (to.z - at.z) * f});
    p.host.RunFrame();
  }
}

bool NoticeShown(SimHost& host, NoticeKind kind, const char* text) {
  return host.world.ui.CountNotices(kind, text) > 0;
}

bool ToastShown(SimHost& host, const char* subtitle) {
  for (const Notice& n : host.world.ui.notices) {
    if (n.kind == NoticeKind::Toast && n.subtitle == subtitle) return true;
  }
  return false;
}

}  // namespace

bool WaitForObjective(Player& p, const char* objective, int maxFrames) {
  return p.WaitFor((std::string("objective: \"") + objective + "\"").c_str(),
                   [&] { return ShownObjective(p.host) == objective; }, maxFrames);
}

int32_t FirstGuard(SimHost& host) {
  return NearestPedOfModel(host, "S_M_M_SKPGUARD_01", kFirstGuardPost);
}

std::vector<int32_t> RouteGuards(SimHost& host) {
  // By now the first guard was handed back to the game: the mission's guards are the route's.
  std::vector<int32_t> guards;
  for (const auto& [handle, e] : host.world.entities) {
    if (e.model == GameHash("S_M_M_SKPGUARD_01") && e.missionOwned) {
      guards.push_back(handle);
    }
  }
  return guards;
}

void SpotPlayer(SimHost& host, int32_t guard) {
  LetPedSeePlayer(host, guard);
  host.MovePlayer(Beside(PositionOf(host, guard)));
}

bool TakeOutFirstGuard(Player& p) {
  WaitForObjective(p, "Take out the ~s~~e~Guard.~s~", 3000);
  if (!p.ok) return false;
  const int32_t guard = FirstGuard(p.host);
  p.host.MovePlayer(Beside(PositionOf(p.host, guard)));
  if (!KnockDown(p.host, guard)) p.ok = false;
  return WaitForObjective(p, "Loot the ~s~~o~Guard.~s~", 30);
}

bool LootAndDumpFirstGuard(Player& p) {
  const int32_t guard = FirstGuard(p.host);
  if (!p.ok || !Loot(p.host, guard)) return p.ok = false;
  p.WaitFor(
      "the knife is unlocked", [&] { return ToastShown(p.host, "Knife Unlocked"); }, 30);
  WaitForObjective(p, "Pick up the ~s~~o~Guard.~s~", 30);
  if (!p.ok || !PickUp(p.host, guard)) return p.ok = false;
  WaitForObjective(p, "Dispose of the ~s~~e~Guard~s~ in the ~s~~o~Water.~s~", 30);
  TravelTo(p, kShoreWater, 1.5f);
  if (!p.ok || !PutDown(p.host)) return p.ok = false;
  return WaitForObjective(p, "Go to the ~s~~o~Docks.~s~", 120);
}

bool SneakToBoat(Player& p) {
  const SimBlip* docks = p.host.world.blips.Named("Docks");
  if (!p.ok || !docks) return p.ok = false;
  TravelTo(p, docks->position, 2.0f);
  WaitForObjective(p, "Enter the ~s~~o~Boat.~s~", 120);
  const int32_t boat = NearestOfModel(p.host, "rowboat", p.host.PlayerPosition());
  p.host.MovePlayer(Beside(PositionOf(p.host, boat)));
  if (!p.ok || !EnterVehicle(p.host, boat)) return p.ok = false;
  return WaitForObjective(p, "Escape the ~s~~o~Siska Penetetary.~s~", 30);
}

bool RowAway(Player& p) {
  TravelTo(p, kOpenSea, 3.0f);
  p.WaitFor(
      "out of the penitentiary's waters: the title card", [&] { return p.Sees("BRIMVALE"); }, 600);
  p.Screen("prologue-title-card");
  return p.ok;
}

bool EscapePenitentiary(Player& p) {
  p.WaitFor(
      "the prologue's card: \"Break out of the Siska Penetentary.\"",
      [&] { return !p.host.world.scene.introCards.empty(); }, 600);
  TakeOutFirstGuard(p);
  LootAndDumpFirstGuard(p);
  SneakToBoat(p);
  return RowAway(p);
}

bool SearchHideoutChest(Player& p) {
  WaitForObjective(p, "Go to the ~s~~o~Hideout.~s~", 4000);
  if (!p.ok || p.host.world.scene.gpsPoints.empty()) return p.ok = false;
  TravelTo(p, p.host.world.scene.gpsPoints.back(), 25.0f);
  WaitForObjective(p, "Search the ~s~~o~Hideout.~s~", 120);
  const int32_t chest = NearestOfModel(p.host, "s_lootablepistolchest", p.host.PlayerPosition());
  const Vector3 at = PositionOf(p.host, chest);
  TravelTo(p, {at.x + 0.4f, at.y - 0.4f, at.z + 0.1f}, 2.0f);
  p.WaitFor(
      "at the chest: the search hint",
      [&] {
        return p.host.world.ui.LastHelpText() ==
               "Press ~INPUT_MELEE_GRAPPLE_CHOKE~ to search the chest.";
      },
      30);
  p.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
  return p.WaitFor(
      "the revolver is unlocked", [&] { return ToastShown(p.host, "Cattleman Revolver Unlocked"); },
      900);
}

int32_t GangLeader(SimHost& host) {
  for (const auto& [handle, blip] : host.world.blips.blips) {
    if (blip.kind == BlipKind::Entity && blip.sprite == GameHash("blip_ambient_hunter")) {
      return blip.entity;
    }
  }
  return 0;
}

std::vector<int32_t> GangMembers(SimHost& host) {
  std::vector<int32_t> members;
  for (const auto& [handle, e] : host.world.entities) {
    if (e.model == GameHash("G_M_M_UNIMOUNTAINMEN_01")) members.push_back(handle);
  }
  return members;
}

bool ClearGangHideout(Player& p) {
  WaitForObjective(p, "Eliminate the ~s~~e~Gang Members.~s~", 300);
  if (!p.ok) return false;
  const int32_t leader = GangLeader(p.host);
  Kill(p.host, leader);
  p.host.RunFrames(2);
  for (int32_t member : GangMembers(p.host)) {
    Kill(p.host, member);
    p.host.RunFrames(2);
  }
  return WaitForObjective(p, "Deliver the ~s~~e~Gang Leaders Body~s~ to ~s~~o~Flaco.~s~", 30);
}

bool CarryLeaderToFlaco(Player& p, float shortBy) {
  const int32_t leader = GangLeader(p.host);
  const SimBlip* flaco = RadiusBlip(p.host, GameHash("BLIP_STYLE_OBJECTIVE"));
  if (!p.ok || !flaco) return p.ok = false;
  const Vector3 point = flaco->position;
  p.host.MovePlayer(Beside(PositionOf(p.host, leader)));
  if (!PickUp(p.host, leader)) return p.ok = false;
  TravelTo(p, {point.x + shortBy, point.y, point.z}, 25.0f);
  return p.ok;
}

bool DeliverLeader(Player& p) {
  CarryLeaderToFlaco(p, 0.5f);
  if (!p.ok || !PutDown(p.host)) return p.ok = false;
  p.WaitFor(
      "\"MISSION PASSED\": Gang Hideout Cleared",
      [&] { return NoticeShown(p.host, NoticeKind::Result, "MISSION PASSED"); }, 300);
  p.Screen("prologue-mission-passed");
  return p.ok;
}

bool ReachFreeRoam(Player& p) {
  p.WaitFor(
      "a few days later, in free roam: the prologue's toast",
      [&] { return ToastShown(p.host, "Prologue"); }, 3000);
  return p.ok;
}

bool GetSpottedOnce(Player& p) {
  p.WaitFor(
      "the prologue's card: \"Break out of the Siska Penetentary.\"",
      [&] { return p.host.world.scene.introCards.size() == 1; }, 600);
  WaitForObjective(p, "Take out the ~s~~e~Guard.~s~", 3000);
  if (!p.ok) return false;
  const int32_t guard = FirstGuard(p.host);
  SpotPlayer(p.host, guard);
  p.WaitFor(
      "spotted by the guard: \"MISSION FAILED\"",
      [&] { return NoticeShown(p.host, NoticeKind::Result, "MISSION FAILED"); }, 30);
  p.Screen("prologue-spotted");
  p.WaitFor(
      "the prologue starts over from its card",
      [&] { return p.host.world.scene.introCards.size() == 2; }, 600);
  // The failed attempt's guard was handed back to the game; the retry posts a fresh one.
  return p.WaitFor(
      "a fresh guard at the post",
      [&] {
        const int32_t fresh = FirstGuard(p.host);
        return fresh != 0 && fresh != guard;
      },
      3000);
}

bool PlayPrologue(Player& p) {
  GetSpottedOnce(p);
  EscapePenitentiary(p);
  SearchHideoutChest(p);
  ClearGangHideout(p);
  DeliverLeader(p);
  return ReachFreeRoam(p);
}

}  // namespace brimvale::sim
