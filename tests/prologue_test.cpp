// The prologue played as a player would: from the accepted start point through the penitentiary,
// the hideout and the gang hideout to free roam, and what goes wrong on the way.
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/campaign.h"
#include "free_roam.h"
#include "natives/player_actions.h"
#include "player/player.h"

namespace brimvale {
namespace {

using sim::NoticeKind;

constexpr Hash kAudioProgressSaved = 0xF4AE69EC;

class PrologueTest : public testing::FreeRoamTest {
 protected:
  // A character made in an earlier session, at the story's start point: the prologue begins.
  void StartPrologue(const std::string& gender = "0") {
    WriteSave("[Character]\nCreate Character=True\nGender=" + gender + "\n");
    host.LoadPlugin();
    AcceptStartPoint();
  }

  bool Wields(const char* weapon) {
    for (const sim::SimWeapon& w : host.world.scene.peds[host.world.player.ped].weapons) {
      if (w.weapon == sim::GameHash(weapon)) return true;
    }
    return false;
  }
  const sim::PedLook& Look() { return host.world.look.Of(host.world.player.ped); }
  int Shown(NoticeKind kind, const char* text) { return host.world.ui.CountNotices(kind, text); }
  // How often the mission has set this objective line so far.
  int ObjectivesSet(const char* text) {
    int count = 0;
    for (const sim::ObjectiveLine& line : host.world.ui.objectives)
      count += line.text == text;
    return count;
  }
  // Out of the penitentiary and along the route to the hideout, where the chest is to be searched.
  bool ArriveAtTheHideout() {
    if (!sim::EscapePenitentiary(p) ||
        !sim::WaitForObjective(p, "Go to the ~s~~o~Hideout.~s~", 4000) ||
        host.world.scene.gpsPoints.empty())
      return false;
    host.MovePlayer(host.world.scene.gpsPoints.back());
    return sim::WaitForObjective(p, "Search the ~s~~o~Hideout.~s~", 120);
  }
  bool Exists(int32_t entity) { return host.world.Find(entity) != nullptr; }
  bool Released(int32_t entity) {
    for (int32_t handle : host.world.scene.released) {
      if (handle == entity) return true;
    }
    return false;
  }

  // The cut whose blend lasts `ms`: its two cameras are attached (and pointed) after they are
  // made and before the render that shows them, which comes before A is made active and the
  // blend from A to B starts.
  void ExpectCutAimedBeforeItIsShown(int32_t ms, size_t attaches, size_t points) {
    const std::vector<sim::TraceEntry>& trace = host.Trace();
    const auto at = [&](const sim::TraceEntry* e) { return static_cast<size_t>(e - trace.data()); };
    const sim::TraceEntry* blend = nullptr;
    for (const sim::TraceEntry* e : host.Calls(InterpolateCameras))
      if (e->Int(2) == ms && e->Int(3) == ms && e->Int(4) == ms) blend = e;
    ASSERT_NE(blend, nullptr) << "no blend over " << ms << " ms";
    const int32_t camB = blend->Int(0), camA = blend->Int(1);
    size_t made = 0, render = 0, active = 0;
    for (const sim::TraceEntry* e : host.Calls(CreateCameraAt))
      if (static_cast<int32_t>(e->result[0]) == camA && at(e) < at(blend)) made = at(e);
    for (const sim::TraceEntry* e : host.Calls(RenderScriptCameras))
      if (e->Int(0) == 1 && at(e) > made && at(e) < at(blend)) render = at(e);
    for (const sim::TraceEntry* e : host.Calls(SetCameraActive))
      if (e->Int(0) == camA && e->Int(1) == 1 && at(e) > made && at(e) < at(blend)) active = at(e);
    ASSERT_GT(render, made) << ms;
    EXPECT_GT(active, render) << ms;
    const auto aimedBeforeRender = [&](const std::vector<const sim::TraceEntry*>& calls) {
      size_t count = 0;
      for (const sim::TraceEntry* e : calls) {
        if ((e->Int(0) != camA && e->Int(0) != camB) || at(e) < made) continue;
        EXPECT_LT(at(e), render) << ms << " ms: camera " << e->Int(0) << " aimed after the render";
        ++count;
      }
      return count;
    };
    EXPECT_EQ(aimedBeforeRender(host.Calls(AttachCameraToEntity)), attaches) << ms;
    EXPECT_EQ(aimedBeforeRender(host.Calls(PointCameraAtEntity)), points) << ms;
  }

  std::ostringstream log;
  sim::Player p{host, log};
};

using ProloguePlaythrough = PrologueTest;

TEST_F(ProloguePlaythrough, FromTheStartPointToFreeRoam) {
  StartPrologue();
  ASSERT_TRUE(sim::EscapePenitentiary(p)) << log.str();
  EXPECT_EQ(host.world.scene.introCards.at(0).description, "Break out of the Siska Penetentary.");
  EXPECT_TRUE(Wields("WEAPON_MELEE_KNIFE"));
  ASSERT_TRUE(sim::SearchHideoutChest(p)) << log.str();
  EXPECT_TRUE(Wields("WEAPON_REVOLVER_CATTLEMAN"));
  ASSERT_TRUE(sim::ClearGangHideout(p)) << log.str();
  EXPECT_EQ(Shown(NoticeKind::Help, "~s~~p~Ashby Cole~s~ Killed the ~s~~e~Gang Leader.~s~"), 1);
  ASSERT_TRUE(sim::DeliverLeader(p)) << log.str();
  const sim::Notice* passed = host.world.ui.LastNotice(NoticeKind::Result);
  ASSERT_NE(passed, nullptr);
  EXPECT_EQ(passed->subtitle, "Gang Hideout Cleared");
  ASSERT_TRUE(sim::ReachFreeRoam(p)) << log.str();

  EXPECT_EQ(host.world.scene.money, 2000);
  EXPECT_EQ(SaveValue("Story", "Progress"), "1") << SaveText();

  // The calls as the game wants them: the chest's forward vector with 2; the horse and the
  // player placed before free roam with 1 in the last slot; the chest's and the few-days-later
  // cuts aimed before they are shown.
  const auto forward = host.Calls(GetEntityForwardVector);
  ASSERT_EQ(forward.size(), 1u);
  EXPECT_EQ(forward[0]->Int(1), 2);
  const auto placed = host.Calls(SetEntityCoords);
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_FLOAT_EQ(placed[0]->Float(1), -305.047f);
  EXPECT_FLOAT_EQ(placed[1]->Float(1), -307.424f);
  for (const sim::TraceEntry* e : placed) {
    EXPECT_EQ(e->Int(4), 0);
    EXPECT_EQ(e->Int(5), 0);
    EXPECT_EQ(e->Int(6), 0);
    EXPECT_EQ(e->Int(7), 1);
  }
  ExpectCutAimedBeforeItIsShown(9000, 2, 2);   // the chest
  ExpectCutAimedBeforeItIsShown(12000, 2, 0);  // a few days later: attached, not pointed
  EXPECT_EQ(Shown(NoticeKind::Help, "Progress Saved"), 1);
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_HAT_000_TINT_000"));
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_SUSPENDERS_000_TINT_000"));
  EXPECT_EQ(host.world.life.screenEffects.back().name, "TITLE_GEN_FEWDAYSLATER");
  EXPECT_NEAR(host.PlayerPosition().x, -189.962f, 0.01f);
  // No objective blip, camera or scene of the mission is left behind.
  for (const auto& [handle, blip] : host.world.blips.blips)  // of places, only free roam's
    EXPECT_TRUE(blip.kind == sim::BlipKind::Entity || blip.kind == sim::BlipKind::Player ||
                blip.name == "The 10,000 Mile Robbery")
        << handle;
  EXPECT_EQ(host.world.cameras.LiveCameras(), 0);
  EXPECT_TRUE(host.world.mission.animScenes.empty());
  EXPECT_EQ(host.world.mission.staleSceneReleases, 0);
  // Free roam runs: the wardrobes put their blips on the map.
  EXPECT_TRUE(host.RunUntil([&] { return host.world.blips.Named("Wardrobe") != nullptr; }, 60));
}

// Every timed notice from the start point to free roam, with how long the game is asked to show
// it, the pause between the end's two help texts, and the title card: faded in one step a frame,
// held fully drawn for five seconds of game time, faded out a step a frame, its credit drawn
// whole throughout.
TEST_F(ProloguePlaythrough, EveryNoticeAndTheTitleCardStayOnScreenForTheirTime) {
  std::vector<std::pair<int32_t, int32_t>> title;  // game time and alpha of each frame's title
  int creditFrames = 0;
  host.onFrameEnd = [&](sim::SimHost& h) {
    const sim::DrawList& frame = h.world.ui.lastFrame;
    const sim::DrawnText* card = frame.FindText("BRIMVALE");
    if (!card) return;
    title.emplace_back(h.GameTime(), card->a);
    const sim::DrawnText* credit = frame.FindText("By: Brimvale Team");
    creditFrames += credit && credit->a == 255;
  };
  StartPrologue();
  ASSERT_TRUE(sim::EscapePenitentiary(p) && sim::SearchHideoutChest(p) &&
              sim::ClearGangHideout(p) && sim::DeliverLeader(p) && sim::ReachFreeRoam(p))
      << log.str();
  host.onFrameEnd = nullptr;

  struct Timed {
    NoticeKind kind;
    const char* text;
    const char* subtitle;
    int32_t ms;
  };
  const Timed timed[] = {
      {NoticeKind::Help, "Press ~INPUT_CARRIABLE_SUICIDE~ to Continue~n~ Your Brimvale.", "", 3000},
      {NoticeKind::Banner, "Brimvale", "", 15000},
      {NoticeKind::Toast, "New Weapon:", "Knife Unlocked", 2000},
      {NoticeKind::Help,
       "Make your way to the docks, but avoid all of the guards on the way there.", "", 4000},
      {NoticeKind::Banner, "The Hideout", "", 15000},
      {NoticeKind::Help, "Press ~INPUT_MELEE_GRAPPLE_CHOKE~ to search the chest.", "", 1000},
      {NoticeKind::Toast, "New Weapon:", "Cattleman Revolver Unlocked", 2000},
      {NoticeKind::Help, "~s~~p~Ashby Cole~s~ Killed the ~s~~e~Gang Leader.~s~", "", 2000},
      {NoticeKind::Result, "MISSION PASSED", "Gang Hideout Cleared", 4000},
      {NoticeKind::Help, "Progress Saved", "", 7000},
      {NoticeKind::Help,
       "Welcome to Freeroam, in freeroam you can do various activites. To proceed with the "
       "Brimvale Story, go to the yellow blip in valetine.",
       "", 10000},
      {NoticeKind::Toast, "Story Mission Complete", "Prologue", 5000},
  };
  const auto find = [&](const Timed& t) -> const sim::Notice* {
    for (const sim::Notice& n : host.world.ui.notices)
      if (n.kind == t.kind && n.text == t.text && n.subtitle == t.subtitle) return &n;
    return nullptr;
  };
  for (const Timed& t : timed) {
    const sim::Notice* notice = find(t);
    ASSERT_NE(notice, nullptr) << t.text << " " << t.subtitle;
    EXPECT_EQ(notice->durationMs, t.ms) << t.text << " " << t.subtitle;
    for (const sim::Notice& n : host.world.ui.notices) {  // shown again, still for its time
      if (n.kind == t.kind && n.text == t.text && n.subtitle == t.subtitle) {
        EXPECT_EQ(n.durationMs, t.ms) << t.text;
      }
    }
  }
  // The welcome waits for "Progress Saved" to run its seven seconds.
  const int64_t saved = find(timed[9])->frame, welcome = find(timed[10])->frame;
  EXPECT_NEAR((welcome - saved) * host.config.frameMs, 7000.0, host.config.frameMs + 1.0);

  ASSERT_FALSE(title.empty());
  size_t i = 0;
  for (int32_t alpha = 0; alpha < 255; ++alpha, ++i) {
    ASSERT_LT(i, title.size());
    ASSERT_EQ(title[i].second, alpha) << "fading in, frame " << i;
  }
  const int32_t heldFrom = title[i].first;
  while (i < title.size() && title[i].second == 255)
    ++i;
  ASSERT_LT(i, title.size());
  // The last fully drawn frame is the fade-out's first, drawn once the five seconds are up.
  EXPECT_NEAR(title[i - 1].first - heldFrom, 5000.0, host.config.frameMs + 1.0);
  for (int32_t alpha = 254; alpha > 0; --alpha, ++i) {
    ASSERT_LT(i, title.size());
    ASSERT_EQ(title[i].second, alpha) << "fading out, frame " << i;
  }
  EXPECT_EQ(i, title.size());
  EXPECT_EQ(creditFrames, static_cast<int>(title.size()));
}

TEST_F(ProloguePlaythrough, AFemaleCharacterEscapesInThePrisonLookAndEndsInHerStarterClothes) {
  StartPrologue("1");
  ASSERT_TRUE(sim::WaitForObjective(p, "Take out the ~s~~e~Guard.~s~", 3000));
  EXPECT_TRUE(Look().Layer("mp_uppertorso_fr1_001_o_b"));
  EXPECT_FALSE(Look().Wears("CLOTHING_ITEM_F_SHIRT_002_TINT_001"));

  ASSERT_TRUE(sim::EscapePenitentiary(p) && sim::SearchHideoutChest(p) &&
              sim::ClearGangHideout(p) && sim::DeliverLeader(p) && sim::ReachFreeRoam(p))
      << log.str();
  // The starter look: the normal upper torso and the women's twenty items, whose shirt alone
  // differs from the men's in its number.
  EXPECT_TRUE(Look().Layer("mp_uppertorso_fr1_000_o_b"));
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_F_SHIRT_002_TINT_001"));
  for (const char* item :
       {"CLOTHING_ITEM_F_HAT_000_TINT_000", "CLOTHING_ITEM_F_BOOTS_001_TINT_001",
        "CLOTHING_ITEM_F_GUNBELT_001_TINT_001", "CLOTHING_ITEM_F_SUSPENDERS_000_TINT_000"})
    EXPECT_TRUE(Look().Wears(item)) << item;
  for (const sim::ClothingChange& change : Look().clothing)
    EXPECT_NE(change.hash, sim::GameHash("CLOTHING_ITEM_M_SHIRT_001_TINT_001"));
}

using PrologueSpotted = PrologueTest;

TEST_F(PrologueSpotted, ByTheFirstGuardTheIntroductionReplaysInThePrisonLook) {
  StartPrologue();
  ASSERT_TRUE(sim::WaitForObjective(p, "Take out the ~s~~e~Guard.~s~", 3000));
  const int32_t guard = sim::FirstGuard(host);
  sim::SpotPlayer(host, guard);
  ASSERT_TRUE(host.RunUntil([&] { return Shown(NoticeKind::Result, "MISSION FAILED"); }, 30));
  EXPECT_EQ(host.world.ui.LastNotice(NoticeKind::Result)->subtitle, "You were spotted.");
  // What the first attempt put on is gone: the look checked below is the replay's own.
  host.world.look.Of(host.world.player.ped) = sim::PedLook{};
  ASSERT_TRUE(host.RunUntil([&] { return host.world.scene.introCards.size() == 2; }, 600));
  EXPECT_TRUE(Released(guard));
  // A fresh guard at the post: the replay's introduction, prison look included, is behind us.
  ASSERT_TRUE(host.RunUntil(
      [&] {
        const int32_t fresh = sim::FirstGuard(host);
        return fresh != 0 && fresh != guard;
      },
      3000));
  EXPECT_TRUE(Look().Layer("mp_uppertorso_mr1_001_o_b"));
  EXPECT_TRUE(Look().clothing.empty());  // the prisoner wears no clothing items
}

TEST_F(PrologueSpotted, OnTheWayToTheDocksTheGuardsAndTheDocksBlipGoBeforeTheRetry) {
  StartPrologue();
  ASSERT_TRUE(sim::TakeOutFirstGuard(p) && sim::LootAndDumpFirstGuard(p)) << log.str();
  const std::vector<int32_t> guards = sim::RouteGuards(host);
  ASSERT_EQ(guards.size(), 3u);
  sim::SpotPlayer(host, guards[1]);
  ASSERT_TRUE(host.RunUntil([&] { return Shown(NoticeKind::Result, "MISSION FAILED"); }, 30));
  ASSERT_TRUE(host.RunUntil([&] { return host.world.scene.introCards.size() == 2; }, 600));
  for (int32_t guard : guards)
    EXPECT_TRUE(Released(guard));
  EXPECT_EQ(host.world.blips.Named("Docks"), nullptr);
  ASSERT_TRUE(sim::TakeOutFirstGuard(p) && sim::LootAndDumpFirstGuard(p)) << log.str();
  EXPECT_EQ(sim::RouteGuards(host).size(), 3u);  // only the retry's guards are the mission's
}

TEST_F(PrologueSpotted, InTheBoatTheFailureStillWinsAndTheBoatGoesWithTheGuards) {
  StartPrologue();
  ASSERT_TRUE(sim::TakeOutFirstGuard(p) && sim::LootAndDumpFirstGuard(p)) << log.str();
  const std::vector<int32_t> guards = sim::RouteGuards(host);
  // Spotted on the very frame the player gets into the boat.
  const sim::SimBlip* docks = host.world.blips.Named("Docks");
  ASSERT_NE(docks, nullptr);
  host.MovePlayer(docks->position);
  ASSERT_TRUE(sim::WaitForObjective(p, "Enter the ~s~~o~Boat.~s~", 60));
  int32_t boat = 0;
  for (const auto& [handle, e] : host.world.entities) {
    if (e.model == sim::GameHash("rowboat")) boat = handle;
  }
  host.MovePlayer(host.world.Find(boat)->position);
  ASSERT_TRUE(sim::EnterVehicle(host, boat));
  host.world.scene.peds[guards[2]].seesPlayer = true;
  host.world.Find(guards[2])->position = host.PlayerPosition();
  ASSERT_TRUE(host.RunUntil([&] { return Shown(NoticeKind::Result, "MISSION FAILED"); }, 30));
  EXPECT_NE(sim::ShownObjective(host), "Escape the ~s~~o~Siska Penetetary.~s~");
  ASSERT_TRUE(host.RunUntil([&] { return host.world.scene.introCards.size() == 2; }, 600));
  EXPECT_TRUE(Released(boat));
  for (const auto& [handle, blip] : host.world.blips.blips)
    EXPECT_NE(blip.entity, boat) << "the failed attempt's boat still has its blip";
}

// Knocked down and in plain view on the same frame of "Take out the Guard.", where the detection
// runs: the downed guard does not spot the player.
TEST_F(PrologueSpotted, ADownedGuardInPlainViewNeverFailsTheMission) {
  StartPrologue();
  ASSERT_TRUE(sim::WaitForObjective(p, "Take out the ~s~~e~Guard.~s~", 3000));
  const int32_t guard = sim::FirstGuard(host);
  sim::SpotPlayer(host, guard);
  ASSERT_TRUE(sim::KnockDown(host, guard));
  host.RunFrames(2);  // taken down on the first frame, the next one asks for the loot
  EXPECT_EQ(sim::ShownObjective(host), "Loot the ~s~~o~Guard.~s~");
  host.RunFrames(60);
  EXPECT_EQ(Shown(NoticeKind::Result, "MISSION FAILED"), 0);
  EXPECT_EQ(sim::ShownObjective(host), "Loot the ~s~~o~Guard.~s~");
}

using PrologueBodies = PrologueTest;

TEST_F(PrologueBodies, TheGuardCarriedIntoTheWaterCountsOnlyOnceHeIsPutDownThere) {
  StartPrologue();
  ASSERT_TRUE(sim::TakeOutFirstGuard(p)) << log.str();
  const int32_t guard = sim::FirstGuard(host);
  ASSERT_TRUE(sim::Loot(host, guard) && sim::PickUp(host, guard));
  host.MovePlayer({3400.0f, -797.0f, 40.0f});  // into the water with the body on the shoulder
  host.RunFrames(30);
  EXPECT_EQ(sim::ShownObjective(host), "Dispose of the ~s~~e~Guard~s~ in the ~s~~o~Water.~s~");
  EXPECT_EQ(host.world.blips.Named("Docks"), nullptr);
  ASSERT_TRUE(sim::PutDown(host));
  ASSERT_TRUE(sim::WaitForObjective(p, "Go to the ~s~~o~Docks.~s~", 120));
  // The guard was handed back; a new entity that takes his number is not deleted at the docks.
  host.world.entities[guard] = sim::SimEntity{guard, sim::EntityKind::Ped, 0, {}, 0.0f};
  ASSERT_TRUE(sim::SneakToBoat(p)) << log.str();
  EXPECT_TRUE(Exists(guard));
}

TEST_F(PrologueBodies, TheLeadersKillNoticeShowsOnceAndIsReadyAgainAfterTheGang) {
  StartPrologue();
  ASSERT_TRUE(sim::EscapePenitentiary(p) && sim::SearchHideoutChest(p)) << log.str();
  ASSERT_TRUE(sim::WaitForObjective(p, "Eliminate the ~s~~e~Gang Members.~s~", 300));
  ASSERT_TRUE(sim::Kill(host, sim::GangLeader(host)));
  host.RunFrames(60);  // the others still stand
  EXPECT_EQ(Shown(NoticeKind::Help, "~s~~p~Ashby Cole~s~ Killed the ~s~~e~Gang Leader.~s~"), 1);
  EXPECT_EQ(sim::ShownObjective(host), "Eliminate the ~s~~e~Gang Members.~s~");
  ASSERT_TRUE(sim::ClearGangHideout(p)) << log.str();
  EXPECT_EQ(Shown(NoticeKind::Help, "~s~~p~Ashby Cole~s~ Killed the ~s~~e~Gang Leader.~s~"), 1);
  EXPECT_FALSE(Prologue.LeaderKilledShown);
}

// Flaco's point takes a body put down less than 5.0 from it: not one held inside, nor one put down
// exactly 5.0 away or straight above it further up than that; one put down 4.99 away passes.
TEST_F(PrologueBodies, TheLeaderDroppedShortOfFlacoOrHeldInsideDoesNotPass) {
  StartPrologue();
  ASSERT_TRUE(sim::EscapePenitentiary(p) && sim::SearchHideoutChest(p) && sim::ClearGangHideout(p))
      << log.str();
  ASSERT_TRUE(sim::CarryLeaderToFlaco(p, 0.5f));  // held inside the radius
  host.RunFrames(30);
  EXPECT_EQ(Shown(NoticeKind::Result, "MISSION PASSED"), 0);
  const Vector3 flaco{-947.756f, 2181.417f, 341.718f};
  const int32_t leader = sim::GangLeader(host);
  for (const Vector3 at :
       {Vector3{flaco.x + 5.0f, flaco.y, flaco.z}, Vector3{flaco.x, flaco.y, flaco.z + 5.01f}}) {
    host.MovePlayer(at);
    ASSERT_TRUE(sim::PutDown(host));
    host.RunFrames(30);
    EXPECT_EQ(Shown(NoticeKind::Result, "MISSION PASSED"), 0) << at.x << " " << at.z;
    EXPECT_EQ(sim::ShownObjective(host),
              "Deliver the ~s~~e~Gang Leaders Body~s~ to ~s~~o~Flaco.~s~");
    ASSERT_TRUE(sim::PickUp(host, leader));
  }
  host.MovePlayer({flaco.x, flaco.y - 4.99f, flaco.z});
  ASSERT_TRUE(sim::PutDown(host));
  EXPECT_TRUE(host.RunUntil([&] { return Shown(NoticeKind::Result, "MISSION PASSED"); }, 300));
}

// The chest answers within 1.0: its hint and its control, not just outside nor straight above.
TEST_F(PrologueBodies, TheChestAnswersOnlyWithinOneUnit) {
  StartPrologue();
  ASSERT_TRUE(ArriveAtTheHideout()) << log.str();
  Vector3 chest{};
  for (const auto& [handle, e] : host.world.entities) {
    if (e.model == sim::GameHash("s_lootablepistolchest")) chest = e.position;
  }
  const char* hint = "Press ~INPUT_MELEE_GRAPPLE_CHOKE~ to search the chest.";
  for (const Vector3 at :
       {Vector3{chest.x + 1.01f, chest.y, chest.z}, Vector3{chest.x, chest.y, chest.z + 1.01f}}) {
    host.MovePlayer(at);
    host.RunFrames(2);
    host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
    host.RunFrames(5);
    EXPECT_EQ(Shown(NoticeKind::Help, hint), 0) << at.x << " " << at.z;
    EXPECT_EQ(host.world.blips.blips.size(), 2u);  // the player's and the hideout's, not searched
  }
  host.MovePlayer({chest.x, chest.y - 0.99f, chest.z});
  host.RunFrames(2);
  EXPECT_GE(Shown(NoticeKind::Help, hint), 1);
  host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
  EXPECT_TRUE(sim::WaitForObjective(p, "Eliminate the ~s~~e~Gang Members.~s~", 900));
}

// While the game lays the guard down (carry state 6, for the second the animation lasts) the
// mission sets no objective line: not the carried one, nor the one asking to pick him up, which
// comes once he lies on the ground.
TEST_F(PrologueBodies, WhileTheGuardIsBeingPutDownNoObjectiveIsSet) {
  StartPrologue();
  ASSERT_TRUE(sim::TakeOutFirstGuard(p)) << log.str();
  const int32_t guard = sim::FirstGuard(host);
  ASSERT_TRUE(sim::Loot(host, guard) && sim::PickUp(host, guard));
  ASSERT_TRUE(sim::WaitForObjective(p, "Dispose of the ~s~~e~Guard~s~ in the ~s~~o~Water.~s~", 60));
  const size_t before = host.world.ui.objectives.size();
  const int64_t putDownAt = host.Frame();
  ASSERT_TRUE(sim::PutDown(host));
  ASSERT_TRUE(host.RunUntil([&] { return host.world.trains.puttingDown == 0; }, 90));
  const int64_t lying = host.Frame();
  EXPECT_GE(lying - putDownAt, 20);  // the animation took its time
  const std::vector<sim::ObjectiveLine>& lines = host.world.ui.objectives;
  for (size_t i = before; i < lines.size(); ++i)
    EXPECT_GE(lines[i].frame, lying) << lines[i].text << " at frame " << lines[i].frame;
  host.RunFrames(2);
  EXPECT_EQ(sim::ShownObjective(host), "Pick up the ~s~~o~Guard.~s~");
}

// Every gang member is handed back to the game: the three followers when the last one falls,
// the leader once his body is delivered.
TEST_F(PrologueBodies, EveryGangMemberIsReleasedWhenThePartEnds) {
  StartPrologue();
  ASSERT_TRUE(sim::EscapePenitentiary(p) && sim::SearchHideoutChest(p)) << log.str();
  ASSERT_TRUE(sim::WaitForObjective(p, "Eliminate the ~s~~e~Gang Members.~s~", 300));
  const int32_t leader = sim::GangLeader(host);
  std::vector<int32_t> followers = sim::GangMembers(host);
  std::erase(followers, leader);
  ASSERT_EQ(followers.size(), 3u);
  ASSERT_TRUE(sim::ClearGangHideout(p)) << log.str();
  for (int32_t member : followers)
    EXPECT_TRUE(Released(member)) << member;
  EXPECT_FALSE(Released(leader));  // still the mission's: his body is to be delivered
  ASSERT_TRUE(sim::DeliverLeader(p)) << log.str();
  EXPECT_TRUE(Released(leader));
}

// The arrival points answer just inside their reach: the docks within 30.0 of their blip (1.0
// below the point named for it), the gang hideout within 50.0 of its point; not at the reach
// itself, nor straight above further up than it.
using PrologueArrivals = PrologueTest;

TEST_F(PrologueArrivals, TheDocksAnswerJustInsideThirtyUnitsOfTheirBlip) {
  StartPrologue();
  ASSERT_TRUE(sim::TakeOutFirstGuard(p) && sim::LootAndDumpFirstGuard(p)) << log.str();
  const Vector3 blip{3291.48f, -710.52f, 42.476f};
  for (const Vector3 at :
       {Vector3{blip.x, blip.y - 30.0f, blip.z}, Vector3{blip.x, blip.y, blip.z + 30.01f}}) {
    host.MovePlayer(at);
    host.RunFrames(30);
    EXPECT_EQ(ObjectivesSet("Enter the ~s~~o~Boat.~s~"), 0) << at.y << " " << at.z;
    EXPECT_EQ(sim::ShownObjective(host), "Go to the ~s~~o~Docks.~s~") << at.y << " " << at.z;
    EXPECT_NE(host.world.blips.Named("Docks"), nullptr);
  }
  host.MovePlayer({blip.x, blip.y - 29.99f, blip.z});
  EXPECT_TRUE(sim::WaitForObjective(p, "Enter the ~s~~o~Boat.~s~", 10));
}

TEST_F(PrologueArrivals, TheGangHideoutAnswersJustInsideFiftyUnits) {
  StartPrologue();
  ASSERT_TRUE(sim::EscapePenitentiary(p)) << log.str();
  ASSERT_TRUE(sim::WaitForObjective(p, "Go to the ~s~~o~Hideout.~s~", 4000));
  const Vector3 hideout{-2107.176f, 1842.135f, 255.475f};
  for (const Vector3 at : {Vector3{hideout.x - 50.0f, hideout.y, hideout.z},
                           Vector3{hideout.x, hideout.y, hideout.z + 50.01f}}) {
    host.MovePlayer(at);
    host.RunFrames(30);
    EXPECT_EQ(ObjectivesSet("Search the ~s~~o~Hideout.~s~"), 0) << at.x << " " << at.z;
    EXPECT_EQ(sim::ShownObjective(host), "Go to the ~s~~o~Hideout.~s~") << at.x << " " << at.z;
  }
  host.MovePlayer({hideout.x - 49.99f, hideout.y, hideout.z});
  EXPECT_TRUE(sim::WaitForObjective(p, "Search the ~s~~o~Hideout.~s~", 120));
}

using PrologueIntroduction = PrologueTest;

// The introduction takes the character back to a prisoner's lot, seen inside its blocking pass
// before the frame steps give a returning player's bought skills back: full cores, 200 health, no
// money, dead eye at level 0 and every ability slot locked again, the fifth included.
TEST_F(PrologueIntroduction, ResetsEveryDeadEyeSlotTheHealthAndTheMoney) {
  WriteSave(
      "[Character]\nCreate Character=True\nGender=0\n[Rank]\nRank=40\nHealth Lvl 1=True\n"
      "Deadeye Lvl 1=True\nDeadeye Lvl 2=True\nDeadeye Lvl 3=True\nDeadeye Lvl 4=True\n"
      "Deadeye Lvl 5=True\n");
  host.LoadPlugin();
  host.world.scene.money = 1234;
  AcceptStartPoint();
  ASSERT_TRUE(
      host.RunUntil([&] { return std::fabs(host.PlayerPosition().x - 3398.144f) < 0.01f; }, 900));
  for (int slot = 1; slot <= 5; ++slot)
    EXPECT_TRUE(host.world.scene.deadEyeLocked[slot]) << "slot " << slot;
  EXPECT_EQ(host.world.scene.deadEyeLevel, 0);
  const sim::ScenePed& ped = host.world.scene.peds[host.world.player.ped];
  EXPECT_EQ(ped.maxHealth, 200);
  for (int core = 0; core <= 2; ++core)
    EXPECT_EQ(ped.attributeCores.at(core), 100) << "core " << core;
  EXPECT_EQ(host.world.scene.money, 0);
}

using PrologueSequence = PrologueTest;

TEST_F(PrologueSequence, APlayerKnockedOverAtTheChestDoesNotFreezeTheGame) {
  StartPrologue();
  ASSERT_TRUE(ArriveAtTheHideout()) << log.str();
  host.MovePlayer({-2107.341f, 1842.992f, 255.448f});
  host.RunFrames(2);
  host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
  host.RunFrames(20);  // walking to the chest
  sim::KnockOverPlayer(host);
  ASSERT_TRUE(host.RunUntil(
      [&] {
        for (const sim::Notice& n : host.world.ui.notices)
          if (n.subtitle == "Cattleman Revolver Unlocked") return true;
        return false;
      },
      300));
  EXPECT_TRUE(sim::WaitForObjective(p, "Eliminate the ~s~~e~Gang Members.~s~", 300));
  EXPECT_EQ(host.world.cameras.LiveCameras(), 0);
}

using PrologueEnd = PrologueTest;

TEST_F(PrologueEnd, WhenTheAudioEventIsRefusedTheProgressIsSavedWithoutNotices) {
  StartPrologue();
  host.world.scene.refusedAudioEvents.insert(kAudioProgressSaved);
  ASSERT_TRUE(sim::EscapePenitentiary(p) && sim::SearchHideoutChest(p) &&
              sim::ClearGangHideout(p) && sim::DeliverLeader(p))
      << log.str();
  ASSERT_TRUE(host.RunUntil([&] { return SaveValue("Story", "Progress") == "1"; }, 3000));
  host.RunFrames(400);
  EXPECT_EQ(Shown(NoticeKind::Help, "Progress Saved"), 0);
  for (const sim::Notice& n : host.world.ui.notices)
    EXPECT_NE(n.subtitle, "Prologue");
}

TEST_F(PrologueEnd, AGameRestartedDuringThePrologueBeginsAtTheIntroduction) {
  StartPrologue();
  ASSERT_TRUE(sim::TakeOutFirstGuard(p) && sim::LootAndDumpFirstGuard(p)) << log.str();
  host.UnloadPlugin();
  host.LoadPlugin();
  AcceptStartPoint();
  ASSERT_TRUE(host.RunUntil([&] { return host.world.scene.introCards.size() == 2; }, 600));
  EXPECT_FALSE(SaveHasKey("Story", "Progress"));
  EXPECT_TRUE(sim::WaitForObjective(p, "Take out the ~s~~e~Guard.~s~", 3000));
}

}  // namespace
}  // namespace brimvale
