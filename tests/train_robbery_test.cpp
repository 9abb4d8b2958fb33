// The train robbery, played through the simulated host from a save past the prologue: the
// station prompt, the introduction, the train, the bag, the law, the safe zone and the rewards.
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "missions/train_robbery.h"
#include "player/player.h"
#include "progression/progression.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using sim::GameHash;
using testing::SimTest;

constexpr Vector3 kStation{1523.26f, 449.16f, 90.362f};

// The robbery's train services make about 15,000 calls a frame: these runs keep no trace unless
// a test turns it on for a moment.
sim::HostConfig Untraced() {
  sim::HostConfig config;
  config.trace = false;
  return config;
}

class TrainRobberyMission : public SimTest {
 protected:
  TrainRobberyMission() : SimTest(Untraced()) {}

  void SetUp() override {
    // A threshold far off, so that the experience earned stays in "XP" without a rank-up.
    WriteSave(
        "[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n"
        "[Rank]\nRank=2\nXP=40\nXPToRank=100000\n");
    host.LoadPlugin();
    host.RunFrames(30);
    ASSERT_TRUE(sim::StartCampaign(player)) << log.str();
  }

  const sim::SimBlip* Blip(const char* name) { return host.world.blips.Named(name); }
  std::string Objective() { return sim::ShownObjective(host); }
  // Train guards in combat with the player, kept to it.
  int GuardsOnThePlayer() {
    int count = 0;
    for (const auto& [handle, e] : host.world.entities) {
      if (e.model != GameHash("S_M_M_UniTrainGuards_01")) continue;
      const sim::ScenePed& ped = host.world.scene.peds[handle];
      count += ped.combatTarget == host.world.player.ped && ped.keepTask ? 1 : 0;
    }
    return count;
  }
  const sim::SimEntity* BlippedEntity(const char* name) {
    const sim::SimBlip* blip = Blip(name);
    return blip ? host.world.Find(blip->entity) : nullptr;
  }
  int CountModel(const char* model) {
    int count = 0;
    for (const auto& [handle, e] : host.world.entities)
      count += e.model == GameHash(model) ? 1 : 0;
    return count;
  }
  void GiveWeapon(const char* weapon, int32_t ammo) {
    host.world.scene.peds[host.world.player.ped].weapons.push_back({GameHash(weapon), ammo, {}});
  }
  const sim::SimWeapon* Weapon(const char* weapon) {
    for (const sim::SimWeapon& w : host.world.scene.peds[host.world.player.ped].weapons) {
      if (w.weapon == GameHash(weapon)) return &w;
    }
    return nullptr;
  }
  const sim::Notice* LastResult() { return host.world.ui.LastNotice(sim::NoticeKind::Result); }
  const sim::DrawnSprite* Drawn(const char* texture) {
    return host.world.ui.lastFrame.FindSprite(texture);
  }

  // Up to the safe zone's objective, the bag in hand.
  void PlayToTheSafeZone() {
    ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
    ASSERT_TRUE(sim::BoardRobberyTrain(player)) << log.str();
    ASSERT_TRUE(sim::TakeMoneyBag(player)) << log.str();
    ASSERT_TRUE(sim::RideOutOfLawsSight(player, {1300.0f, 150.0f, 95.0f}, "out of sight"))
        << log.str();
  }

  // What a finished robbery may leave: the start blip, the player's own blip and horse (and the
  // shops' blips, which stay for good).
  void ExpectNothingOfTheRobberyLeft() {
    for (const auto& [handle, e] : host.world.entities)
      EXPECT_FALSE(e.missionOwned) << "entity " << handle << " of model " << e.model;
    EXPECT_EQ(CountModel("S_M_M_UniTrainGuards_01"), 0);
    EXPECT_EQ(CountModel("s_mp_moneybag02x"), 0);
    for (const auto& [handle, blip] : host.world.blips.blips) {
      EXPECT_TRUE(handle == host.world.blips.playerBlip || blip.name == "The 10,000 Mile Robbery" ||
                  blip.name == "Wardrobe")
          << "blip " << blip.name;
    }
    EXPECT_TRUE(host.world.trains.prompts.empty());
    EXPECT_EQ(host.world.cameras.LiveCameras(), 0);
    EXPECT_FALSE(host.world.cameras.rendering);
    EXPECT_FALSE(host.world.scene.gpsShown);
  }

  std::ostringstream log;
  sim::Player player{host, log};
};

TEST_F(TrainRobberyMission, PlayedThroughTwiceItPaysAndLeavesNothingBehind) {
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  host.world.life.random.forcedInts = {8250, 120};  // the cash, then the experience
  const auto& cards = host.world.scene.introCards;
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(cards[0].heading, "Train Robbery");
  EXPECT_EQ(cards[0].title, "The 10,000 Mile Robbery");
  EXPECT_EQ(host.world.ui.CountNotices(sim::NoticeKind::Banner, "POTENTIAL TAKE: $100"), 1);
  EXPECT_EQ(LastResult()->text, "TRAIN ROBBERY");
  EXPECT_EQ(LastResult()->subtitle, "The 10,000 MILE ROBBERY");
  EXPECT_EQ(Blip("The 10,000 Mile Robbery")->style, GameHash("BLIP_STYLE_MISSION_HIDDEN"));
  EXPECT_EQ(CountModel("S_M_M_UniTrainGuards_01"), 7);
  const sim::SimEntity* bag = BlippedEntity("Money Bag");
  ASSERT_NE(bag, nullptr);
  EXPECT_FLOAT_EQ(bag->position.x, 1495.789f);
  EXPECT_FLOAT_EQ(bag->position.y, 318.658f);
  const sim::SimEntity* trainEntity = BlippedEntity("Train");
  ASSERT_NE(trainEntity, nullptr);
  const sim::SimTrain& train = host.world.trains.byHandle.at(trainEntity->handle);
  EXPECT_EQ(train.configuration, 0x10461E19u);
  EXPECT_FLOAT_EQ(train.speed, 10.0f);
  EXPECT_EQ(host.world.life.timeScale, 1.0f);
  EXPECT_TRUE(host.world.scene.playerControl);
  EXPECT_EQ(host.world.cameras.LiveCameras(), 2);

  ASSERT_TRUE(sim::BoardRobberyTrain(player)) << log.str();
  EXPECT_EQ(Blip("Train")->style, GameHash("BLIP_STYLE_FETCH_TRAIN"));
  ASSERT_TRUE(sim::TakeMoneyBag(player)) << log.str();
  EXPECT_EQ(Blip("Train"), nullptr);
  EXPECT_EQ(Blip("Money Bag")->style, GameHash("BLIP_STYLE_DEBUG_BLUE"));
  EXPECT_EQ(host.world.life.wantedLevel, 1);
  ASSERT_FALSE(host.world.trains.dispatches.empty());
  EXPECT_EQ(host.world.trains.dispatches[0].kind, GameHash("LAW_CUSTOM_TRAIN_ROBBERY"));
  EXPECT_EQ(host.world.trains.crimes.back().crime, GameHash("CRIME_TRAIN_ROBBERY"));

  ASSERT_TRUE(sim::RideOutOfLawsSight(player, {1300.0f, 150.0f, 95.0f}, "out of sight"))
      << log.str();
  const sim::SimBlip* zone = Blip("Safe Zone");
  EXPECT_FLOAT_EQ(zone->position.x, 1178.211f);
  EXPECT_FLOAT_EQ(zone->position.z, 95.127f);
  EXPECT_TRUE(host.world.scene.gpsShown);
  EXPECT_FLOAT_EQ(host.world.scene.gpsPoints.back().z, 96.127f);

  // Seen by the law again on the way: the zone goes until the law is lost again.
  host.world.CommitCrime(host.PlayerPosition());
  host.RunFrames(2);
  EXPECT_EQ(Objective(), "Escape the ~s~~e~Law.~s~");
  EXPECT_EQ(Blip("Safe Zone"), nullptr);
  EXPECT_FALSE(host.world.scene.gpsShown);
  ASSERT_TRUE(sim::RideOutOfLawsSight(player, {1200.0f, -60.0f, 96.0f}, "lost again")) << log.str();
  ASSERT_NE(Blip("Safe Zone"), nullptr);

  host.MovePlayer(Blip("Safe Zone")->position);
  ASSERT_TRUE(host.RunUntil([&] { return LastResult()->text == "MISSION PASSED"; }, 300));
  EXPECT_EQ(LastResult()->subtitle, "Train Robbed");
  EXPECT_EQ(host.world.cameras.LiveCameras(), 2);  // the passed scene's, none of the introduction
  ASSERT_TRUE(host.RunUntil(
      [&] { return Blip("The 10,000 Mile Robbery")->style == GameHash("BLIP_STYLE_SHOP"); }, 1200));
  EXPECT_EQ(host.world.scene.money, 8250);
  EXPECT_EQ(SaveValue("Rank", "XP"), "160");
  EXPECT_EQ(host.world.ui.LastHelpText(), "Progress Saved");
  EXPECT_FLOAT_EQ(host.PlayerPosition().x, 1215.899f);
  ExpectNothingOfTheRobberyLeft();
  // Each of the robbery's notices was asked to stay on screen for its own time.
  struct Timed {
    sim::NoticeKind kind;
    const char* text;
    int32_t ms;
  };
  for (const Timed& t : {Timed{sim::NoticeKind::Result, "TRAIN ROBBERY", 3000},
                         Timed{sim::NoticeKind::Banner, "POTENTIAL TAKE: $100", 15000},
                         Timed{sim::NoticeKind::Result, "MISSION PASSED", 4000},
                         Timed{sim::NoticeKind::Help, "Progress Saved", 7000}}) {
    int shown = 0;
    for (const sim::Notice& n : host.world.ui.notices) {
      if (n.kind != t.kind || n.text != t.text) continue;
      ++shown;
      EXPECT_EQ(n.durationMs, t.ms) << t.text;
    }
    EXPECT_EQ(shown, 1) << t.text;
  }

  host.world.life.random.forcedInts = {0, 1, 2, 0, 1, 2, 0, 9999, 75};  // guards, cash, experience
  ASSERT_TRUE(sim::RobTrain(player)) << log.str();
  EXPECT_EQ(host.world.scene.money, 8250 + 9999);
  EXPECT_EQ(SaveValue("Rank", "XP"), "235") << SaveText();
  ExpectNothingOfTheRobberyLeft();
}

// The bounds are the ones asked of the game, and what the game answers is what is paid.
TEST_F(TrainRobberyMission, TheRewardsAreAskedOfTheGameIn7500To10000CentsAnd75To200Experience) {
  PlayToTheSafeZone();
  std::vector<std::pair<int32_t, int32_t>> asked;
  host.On(RandomIntInRange, [&](sim::SimHost&, const sim::NativeCall& c) {
    asked.emplace_back(c.Int(0), c.Int(1));
    c.ReturnInt(c.Int(0) + 11);  // an answer no draw of the plugin's own would make
  });
  ASSERT_TRUE(sim::ReachSafeZone(player)) << log.str();
  using Range = std::pair<int32_t, int32_t>;
  EXPECT_EQ(asked, (std::vector<Range>{{7500, 10000}, {75, 200}}));
  ASSERT_EQ(host.world.scene.cashAdded.size(), 1u);
  EXPECT_EQ(host.world.scene.cashAdded[0].first, 7511);
  EXPECT_EQ(SaveValue("Rank", "XP"), "126") << SaveText();
}

// The game refuses the train, then the bag, for a few frames: each is asked for again until it is
// there, and the robbery goes on with exactly one of each.
TEST_F(TrainRobberyMission, ATrainAndABagTheGameRefusesForAWhileAreAskedForUntilThere) {
  host.config.faults.RefuseNext(CreateMissionTrain, 4);
  host.config.faults.RefuseNext(CreateObject, 3);
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  EXPECT_EQ(host.config.faults.Refused(CreateMissionTrain), 4);
  EXPECT_EQ(host.config.faults.Refused(CreateObject), 3);
  int robberyTrains = 0;
  for (const auto& [handle, train] : host.world.trains.byHandle)
    robberyTrains += train.configuration == 0x10461E19u ? 1 : 0;
  EXPECT_EQ(robberyTrains, 1);
  EXPECT_EQ(CountModel("s_mp_moneybag02x"), 1);
  ASSERT_NE(BlippedEntity("Train"), nullptr);
  ASSERT_TRUE(sim::BoardRobberyTrain(player) && sim::TakeMoneyBag(player)) << log.str();
}

// The start prompt within 1.0 of the station, the safe zone within 2.0 of its blip: just inside
// counts, just outside and straight above (further up than the range) do not.
TEST_F(TrainRobberyMission, TheStartPromptAndTheSafeZoneReachExactlyTheirRange) {
  ASSERT_TRUE(host.RunUntil([&] { return Blip("The 10,000 Mile Robbery") != nullptr; }, 60));
  auto& prompts = host.world.trains.prompts;
  for (const Vector3 at : {Vector3{kStation.x + 1.01f, kStation.y, kStation.z},
                           Vector3{kStation.x, kStation.y, kStation.z + 1.01f}}) {
    host.MovePlayer(at);
    host.RunFrames(2);
    EXPECT_TRUE(prompts.empty()) << at.x << " " << at.z;
  }
  host.MovePlayer({kStation.x, kStation.y - 0.99f, kStation.z});
  host.RunFrames(2);
  EXPECT_EQ(prompts.size(), 1u);

  PlayToTheSafeZone();
  const Vector3 zone = Blip("Safe Zone")->position;
  for (const Vector3 at :
       {Vector3{zone.x + 2.01f, zone.y, zone.z}, Vector3{zone.x, zone.y, zone.z + 2.01f}}) {
    host.MovePlayer(at);
    host.RunFrames(5);
    // The pass would begin by taking the player's control away.
    EXPECT_TRUE(host.world.scene.playerControl) << at.x << " " << at.z;
    EXPECT_EQ(Objective(), "Deliver the Bag to the ~s~~o~Safe Zone.~s~");
  }
  host.MovePlayer({zone.x, zone.y + 1.99f, zone.z});
  host.RunFrames(2);
  EXPECT_FALSE(host.world.scene.playerControl);
  EXPECT_TRUE(host.RunUntil([&] { return LastResult()->text == "MISSION PASSED"; }, 300));
}

// Boarding unseen (no guard senses the player on the way): once aboard, all seven turn on him.
TEST_F(TrainRobberyMission, TheGuardsTurnOnAPlayerWhoBoardsUnseen) {
  host.world.trains.senseRange = -1.0f;
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  host.RunFrames(3);
  EXPECT_EQ(GuardsOnThePlayer(), 0);
  ASSERT_TRUE(sim::BoardRobberyTrain(player)) << log.str();
  EXPECT_EQ(GuardsOnThePlayer(), 7);
}

// A hold prompt, not a press: a press leaves it standing and starts nothing; a hold starts.
TEST_F(TrainRobberyMission, TheHoldPromptLivesOnlyWithinOneUnitOfTheStation) {
  ASSERT_TRUE(host.RunUntil([&] { return Blip("The 10,000 Mile Robbery") != nullptr; }, 60));
  host.MovePlayer({kStation.x + 0.5f, kStation.y, kStation.z});
  host.RunFrames(2);
  auto& prompts = host.world.trains.prompts;
  ASSERT_EQ(prompts.size(), 1u);
  const sim::SimPrompt& prompt = prompts.begin()->second;
  EXPECT_EQ(prompt.text, "Start Train Robbery");
  EXPECT_EQ(prompt.control, GameHash("INPUT_INTERACT_LOCKON_POS"));
  EXPECT_EQ(prompt.holdMode, 1);
  EXPECT_TRUE(prompt.enabled && prompt.visible);
  const int32_t number = prompts.begin()->first;

  host.MovePlayer({kStation.x + 1.5f, kStation.y, kStation.z});
  host.RunFrames(2);
  EXPECT_TRUE(prompts.empty());

  // Another script gets the freed number; the robbery neither waits on it nor deletes it.
  prompts[number] = sim::SimPrompt{0, "Feed Horse", 0, true, true, true};
  host.MovePlayer(kStation);
  host.RunFrames(2);
  ASSERT_EQ(prompts.size(), 2u);
  EXPECT_EQ(prompts[number].text, "Feed Horse");
  host.MovePlayer({kStation.x + 1.5f, kStation.y, kStation.z});
  host.RunFrames(2);
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_EQ(prompts[number].text, "Feed Horse");

  prompts.clear();
  host.MovePlayer(kStation);
  host.RunFrames(2);
  player.Press("INPUT_INTERACT_LOCKON_POS", 0, 60);
  EXPECT_TRUE(host.world.scene.introCards.empty());
  EXPECT_EQ(prompts.size(), 1u);
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
}

// A guard who senses the player before he is aboard sets all seven on him.
TEST_F(TrainRobberyMission, TheGuardsTurnOnThePlayerOnceOneSensesHim) {
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  host.RunFrames(3);
  EXPECT_EQ(GuardsOnThePlayer(), 0);
  host.MovePlayer({1441.316f, 243.122f, 92.311f});  // 20 from the first guard, off the train
  host.RunFrames(2);
  EXPECT_EQ(Objective(), "Get onto the ~s~~o~Train.~s~");
  EXPECT_EQ(GuardsOnThePlayer(), 7);
}

TEST_F(TrainRobberyMission, TheScoreShowsFromTheBagStageAndTheBagIconTurnsBlueWhileCarried) {
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  host.RunFrames(5);
  EXPECT_EQ(Drawn("score_timer_ink_bg"), nullptr);
  ASSERT_NE(Drawn("blip_ambient_delivery"), nullptr);
  EXPECT_EQ(Drawn("blip_ambient_delivery")->g, 255);

  ASSERT_TRUE(sim::BoardRobberyTrain(player)) << log.str();
  host.RunFrames(1);
  for (const char* texture : {"score_timer_ink_bg", "circle_score_timer_bg"}) {
    const sim::DrawnSprite* s = Drawn(texture);
    ASSERT_NE(s, nullptr) << texture;
    EXPECT_EQ(s->dict, "scoretimer_meter");
    EXPECT_FLOAT_EQ(s->x, 0.5f);
    EXPECT_FLOAT_EQ(s->y, 0.1f);
    EXPECT_FLOAT_EQ(s->width, 0.06f);
    EXPECT_FLOAT_EQ(s->height, 0.08f);
    EXPECT_EQ(s->r + s->g + s->b, 0);
  }
  EXPECT_EQ(Drawn("blip_ambient_delivery")->r, 255);

  ASSERT_TRUE(sim::TakeMoneyBag(player)) << log.str();
  const sim::DrawnSprite* icon = Drawn("blip_ambient_delivery");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->r, 20);
  EXPECT_EQ(icon->g, 150);
  EXPECT_EQ(icon->b, 186);
  EXPECT_FLOAT_EQ(icon->width, 0.03f);
}

// The score's dictionary, dropped by the game in the bag stage, is loaded again with the toolkit's
// wait loop (a request and a wait a frame until loaded) before anything is drawn from it.
TEST_F(TrainRobberyMission, TheScoreIsDrawnOnlyOnceItsDictionaryHasLoaded) {
  ASSERT_TRUE(sim::HoldRobberyPrompt(player) && sim::BoardRobberyTrain(player)) << log.str();
  host.world.ui.textureDicts.Release("scoretimer_meter");
  host.config.trace = true;
  host.RunFrames(6);
  host.config.trace = false;
  bool loaded = false;
  int requests = 0, draws = 0;
  for (const sim::TraceEntry& e : host.Trace()) {
    const bool score = !e.strings.empty() && e.strings[0] == "scoretimer_meter";
    if (!score) continue;
    if (std::string(e.name) == "HasTextureDictLoaded") loaded = e.result[0] != 0;
    if (std::string(e.name) == "RequestTextureDict") {
      EXPECT_FALSE(loaded);
      ++requests;
    }
    if (std::string(e.name) == "DrawSprite") {
      EXPECT_TRUE(loaded) << "drawn from the dictionary before it had loaded";
      ++draws;
    }
  }
  EXPECT_GE(requests, 2);  // once a frame until it has loaded
  EXPECT_GT(draws, 0);
  EXPECT_NE(Drawn("score_timer_ink_bg"), nullptr);
}

TEST_F(TrainRobberyMission, ArrivingWithoutTheBagStillPasses) {
  PlayToTheSafeZone();
  player.Press("INPUT_DROP_CARRIABLE", 0);
  EXPECT_EQ(Objective(), "Grab the ~s~~o~Money Bag.~s~");
  EXPECT_EQ(Blip("Money Bag")->style, GameHash("BLIP_STYLE_CREATOR_DEFAULT"));
  ASSERT_TRUE(sim::ReachSafeZone(player)) << log.str();
  EXPECT_EQ(host.world.scene.cashAdded.size(), 1u);
  ExpectNothingOfTheRobberyLeft();
}

TEST_F(TrainRobberyMission, ADeathDuringTheRobberyKeepsItsStage) {
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  ASSERT_TRUE(sim::BoardRobberyTrain(player)) << log.str();
  host.world.Kill(host.world.player.ped, host.Frame());
  ASSERT_TRUE(host.RunUntil(
      [&] {
        return host.world.life.resurrections == 1 && host.world.blips.FadedIn(host.GameTime());
      },
      900));
  host.RunFrames(2);
  EXPECT_EQ(Objective(), "Steal the ~s~~o~Money Bag.~s~");
  ASSERT_TRUE(sim::TakeMoneyBag(player)) << log.str();
}

// The game's own trains go while the robbery runs; its own train stays so it can be boarded.
TEST_F(TrainRobberyMission, TheTrainServicesEndButTheRobberysTrainStays) {
  host.world.scene.threads = {
      {1, "train_summon", true}, {2, "shop_train_station", true}, {3, "fishing_ambient", true}};
  ASSERT_EQ(host.world.trains.order.size(), 2u);
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  host.RunFrames(3);
  const sim::SimEntity* train = BlippedEntity("Train");
  ASSERT_NE(train, nullptr);
  EXPECT_EQ(host.world.trains.order, std::vector<int32_t>{train->handle});
  EXPECT_FALSE(host.world.trains.ambientTrains);
  EXPECT_FALSE(host.world.scene.threads[0].running);
  EXPECT_FALSE(host.world.scene.threads[1].running);
  EXPECT_TRUE(host.world.scene.threads[2].running);
  ASSERT_TRUE(sim::BoardRobberyTrain(player)) << log.str();
}

// One creation per guard: a guard the game refuses is not asked for again.
TEST_F(TrainRobberyMission, TheIntroductionAsksOnceForEachGuard) {
  host.world.scene.creationRefusals = 1;
  host.config.trace = true;
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  host.config.trace = false;
  EXPECT_EQ(host.Calls(CreatePed).size(), 7u);
  EXPECT_EQ(CountModel("S_M_M_UniTrainGuards_01"), 6);
  ASSERT_TRUE(sim::BoardRobberyTrain(player)) << log.str();
}

// The introduction's weapon in hand: what the player carries, what is taken in hand and with how
// much ammunition. A long arm is loaded to one below its capacity; a weapon never found, or one
// without a magazine, gets no ammunition written.
struct WeaponCase {
  const char* name;
  std::vector<std::pair<const char*, int32_t>> carried;
  const char* inHand;  // null: nothing taken in hand
  std::vector<std::pair<const char*, int32_t>> ammoAfter;
  bool ammoWritten;
};

class TrainRobberyWeapons : public TrainRobberyMission,
                            public ::testing::WithParamInterface<WeaponCase> {};

TEST_P(TrainRobberyWeapons, TheIntroductionTakesAWeaponInHand) {
  const WeaponCase& c = GetParam();
  for (const auto& [weapon, ammo] : c.carried)
    GiveWeapon(weapon, ammo);
  host.config.trace = true;
  ASSERT_TRUE(sim::HoldRobberyPrompt(player)) << log.str();
  host.config.trace = false;
  auto& current = host.world.trains.currentWeapon;
  if (c.inHand) {
    EXPECT_EQ(current[host.world.player.ped], GameHash(c.inHand));
  } else {
    EXPECT_EQ(current.count(host.world.player.ped), 0u);
  }
  for (const auto& [weapon, ammo] : c.ammoAfter) {
    ASSERT_NE(Weapon(weapon), nullptr) << weapon;
    EXPECT_EQ(Weapon(weapon)->ammo, ammo) << weapon;
  }
  EXPECT_EQ(host.Calls(SetWeaponAmmoCount).empty(), !c.ammoWritten);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrainRobberyWeapons,
    ::testing::Values(
        WeaponCase{"Unarmed", {}, nullptr, {}, false},
        WeaponCase{"RevolverAndRepeater",
                   {{"WEAPON_REVOLVER_CATTLEMAN", 2}, {"WEAPON_REPEATER_CARBINE", 3}},
                   "WEAPON_REPEATER_CARBINE",
                   {{"WEAPON_REPEATER_CARBINE", 6}, {"WEAPON_REVOLVER_CATTLEMAN", 2}},
                   true},
        WeaponCase{
            "BowWithoutMagazine", {{"WEAPON_BOW", 5}}, "WEAPON_BOW", {{"WEAPON_BOW", 5}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brimvale
