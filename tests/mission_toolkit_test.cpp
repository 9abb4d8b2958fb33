// The patterns the missions share, played through the simulated host: waits, load loops, mission
// peds, relationship groups, blips, detection, the failure restart, music, transitions, areas and
// the game's own scripts.
#include <limits>
#include <string>
#include <vector>

#include "core/campaign.h"
#include "missions/prologue.h"
#include "missions/toolkit.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::SimTest;

int FramesRun = 0;
void CountFrame() {
  ++FramesRun;
}

class MissionToolkit : public SimTest {
 protected:
  void SetUp() override {
    host.LoadPlugin();
    FramesRun = 0;
  }

  Hash AddModel(const char* name, int framesToLoad) {
    const Hash hash = sim::GameHash(name);
    sim::ModelState& model = host.world.models[hash];
    model.valid = true;
    model.pedKind = true;
    model.framesToLoad = framesToLoad;
    return hash;
  }
  void Run(std::function<void()> body) { ASSERT_TRUE(host.RunScript(std::move(body), 2000)); }

  // A loaded guard model and one guard standing at `at`, already set up as an enemy.
  Ped SpawnGuard(Vector3 at) {
    const Hash model = AddModel("S_M_M_GUARD", 0);
    Ped guard{};
    Run([&] {
      RequestModelAndWait(model);
      guard = SpawnPedAndWait(model, at, 90.0f, 1, 1, 1, 1);
    });
    return guard;
  }
  sim::ScenePed& PedOf(Ped ped) { return host.world.scene.peds[ped.id]; }

  std::vector<std::string> CallNames(size_t from = 0) {
    std::vector<std::string> names;
    for (size_t i = from; i < host.Trace().size(); ++i)
      names.push_back(host.Trace()[i].name);
    return names;
  }
};

using MissionToolkitWait = MissionToolkit;

TEST_F(MissionToolkitWait, OfZeroOrLessRunsNothingAndReturnsInTheSameFrame) {
  int64_t before = 0, after = 0;
  Run([&] {
    before = host.Frame();
    WaitMs(0, CountFrame);
    WaitMs(-5000, CountFrame);
    after = host.Frame();
  });
  EXPECT_EQ(before, after);
  EXPECT_EQ(FramesRun, 0);
}

TEST_F(MissionToolkitWait, RunsTheActionOnEveryFrameUntilTheTimePassed) {
  int32_t start = 0, end = 0;
  Run([&] {
    start = GameTimer();
    WaitMs(1000, CountFrame);
    end = GameTimer();
  });
  EXPECT_GE(end - start, 1000);
  EXPECT_LT(end - start, 1000 + 2 * 34);
  EXPECT_EQ(FramesRun, 30);  // 1000 ms at 30 frames a second
}

TEST_F(MissionToolkitWait, EndsWhenTheTimerRollsOverDuringIt) {
  // The game's timer 200 ms short of its largest value when the wait begins.
  host.On(GameTimer, [](sim::SimHost& h, const sim::NativeCall& c) {
    const uint32_t near = static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) - 200u;
    c.ReturnInt(static_cast<int32_t>(near + static_cast<uint32_t>(h.GameTime())));
  });
  Run([] { WaitMs(1000, CountFrame); });
  EXPECT_EQ(FramesRun, 30);
}

TEST_F(MissionToolkitWait, CutSceneHoldPassesTheFixedArguments) {
  Run([] { WaitMs(100, HoldCutSceneFrame); });
  const auto holds = host.Calls(HoldFrame);
  ASSERT_EQ(holds.size(), 3u);
  const int32_t expected[] = {-1, -1, 0, 17, 1, 0};
  for (size_t i = 0; i < 6; ++i)
    EXPECT_EQ(holds[0]->Int(i), expected[i]);
}

using MissionToolkitLoading = MissionToolkit;

TEST_F(MissionToolkitLoading, AModelIsRequestedOnceAndWaitedForAsLongAsTheGameNeeds) {
  const Hash model = AddModel("A_M_M_RANCHER", 90);
  bool loaded = false;
  Run([&] {
    RequestModelAndWait("A_M_M_RANCHER");
    loaded = HasModelLoaded(model);
  });
  EXPECT_TRUE(loaded);
  EXPECT_EQ(host.Calls(RequestModel).size(), 1u);
  EXPECT_GE(host.Calls(HasModelLoaded).size(), 90u);
}

TEST_F(MissionToolkitLoading, AnInvalidModelIsSkippedAndNeverReleased) {
  int64_t before = 0, after = 0;
  Run([&] {
    before = host.Frame();
    RequestModelAndWait("NO_SUCH_MODEL");
    ReleaseModelIfValid("NO_SUCH_MODEL");
    after = host.Frame();
  });
  EXPECT_EQ(before, after);
  EXPECT_TRUE(host.Calls(RequestModel).empty());
  EXPECT_TRUE(host.Calls(ReleaseModel).empty());
}

TEST_F(MissionToolkitLoading, ATextureDictionaryIsRequestedEachFrameUntilLoaded) {
  Run([] { LoadTextureDict("BLIPS_MP"); });
  EXPECT_TRUE(host.world.ui.TextureDictLoaded("BLIPS_MP"));
  const auto requests = host.Calls(RequestTextureDict);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0]->strings[0], "BLIPS_MP");
  EXPECT_EQ(requests[0]->Int(1), 1);
}

using MissionToolkitSpawning = MissionToolkit;

TEST_F(MissionToolkitSpawning, APedIsCreatedAgainEachFrameUntilTheGameReportsIt) {
  host.world.scene.creationRefusals = 3;
  const Ped guard = SpawnGuard({10.0f, 20.0f, 30.0f});

  EXPECT_EQ(host.Calls(CreatePed).size(), 4u);
  const sim::SimEntity* entity = host.world.Find(guard.id);
  ASSERT_NE(entity, nullptr);
  EXPECT_EQ(entity->model, sim::GameHash("S_M_M_GUARD"));
  EXPECT_FLOAT_EQ(entity->position.y, 20.0f);
  EXPECT_FLOAT_EQ(entity->heading, 90.0f);
  EXPECT_TRUE(entity->missionOwned);
}

TEST_F(MissionToolkitSpawning, AHostilePedIsSetUpInOrderAndMarkedAsAnEnemy) {
  const Ped guard = SpawnGuard({});
  const size_t from = host.Trace().size();
  Blip blip{};
  Run([&] {
    CreateMissionGroups();
    blip = SetUpHostilePed(guard, false);
    GiveMissionWeapon(guard, HashName("WEAPON_REVOLVER_CATTLEMAN"), 10000, 1, 0, 2, 0);
  });

  std::vector<std::string> setUp;
  for (const std::string& name : CallNames(from)) {
    if (name.starts_with("SetPed") || name == "AddBlipForEntity" || name == "GiveWeaponToPed") {
      setUp.push_back(name);
    }
  }
  // The player's own group is set once by the group set-up, before the guard's.
  const std::vector<std::string> expected = {"SetPedRelationshipGroup", "SetPedDefaultVariation",
                                             "SetPedSpawnFlag",         "SetPedRelationshipGroup",
                                             "SetPedBlockEvents",       "AddBlipForEntity",
                                             "GiveWeaponToPed"};
  EXPECT_EQ(setUp, expected);

  const sim::ScenePed& ped = PedOf(guard);
  EXPECT_EQ(ped.relGroup, MissionGroups.EnemyGroup.id);
  EXPECT_EQ(ped.spawnFlag, 1);
  EXPECT_FALSE(ped.blockEvents);
  const sim::SimBlip* enemyBlip = host.world.blips.Find(blip.id);
  ASSERT_NE(enemyBlip, nullptr);
  EXPECT_EQ(enemyBlip->entity, guard.id);
  EXPECT_EQ(enemyBlip->style, sim::GameHash("BLIP_STYLE_ENEMY"));
  ASSERT_EQ(ped.weapons.size(), 1u);
  EXPECT_EQ(ped.weapons[0].ammo, 10000);
  EXPECT_EQ(ped.weapons[0].flags[2], 2);
}

TEST_F(MissionToolkitSpawning, DeletingAVanishedPedOnlyClearsTheHandle) {
  Ped guard = SpawnGuard({});
  Ped gone = guard;
  Run([&] { DeleteIfExists(gone); });
  EXPECT_EQ(host.world.Find(guard.id), nullptr);
  EXPECT_EQ(gone.id, 0);

  Run([&] { DeleteIfExists(guard); });  // the stale copy of the same handle
  EXPECT_EQ(guard.id, 0);
  EXPECT_EQ(host.Calls(DeleteEntity).size(), 1u);
}

TEST_F(MissionToolkitSpawning, AReleasedPedStaysInTheWorldAsTheGamesOwn) {
  Ped guard = SpawnGuard({});
  const int32_t handle = guard.id;
  Run([&] { ReleaseEntityHandle(guard); });
  EXPECT_EQ(guard.id, 0);
  ASSERT_NE(host.world.Find(handle), nullptr);
  EXPECT_FALSE(host.world.Find(handle)->missionOwned);
}

using MissionToolkitRelationships = MissionToolkit;

TEST_F(MissionToolkitRelationships, ThePlayerJoinsThePlayerGroupOnlyWhenInAnother) {
  Run([] { CreateMissionGroups(); });
  const int32_t player = host.world.player.ped;
  EXPECT_EQ(host.world.scene.peds[player].relGroup, MissionGroups.PlayerGroup.id);
  EXPECT_EQ(host.Calls(SetPedRelationshipGroup).size(), 1u);

  Run([] { CreateMissionGroups(); });  // the next mission finds the player already in it
  EXPECT_EQ(host.Calls(SetPedRelationshipGroup).size(), 1u);
}

TEST_F(MissionToolkitRelationships, EnemiesAreHostileBothWaysUntilTheGroupsGo) {
  Run([] {
    CreateMissionGroups();
    MakeGroupsHostile();
  });
  const int32_t player = MissionGroups.PlayerGroup.id;
  const int32_t enemy = MissionGroups.EnemyGroup.id;
  EXPECT_NE(player, enemy);
  EXPECT_EQ((host.world.scene.relations[{player, enemy}]), 6);
  EXPECT_EQ((host.world.scene.relations[{enemy, player}]), 6);

  Run([] { RemoveMissionGroups(); });
  EXPECT_FALSE(host.world.scene.relGroups[player].live);
  EXPECT_FALSE(host.world.scene.relGroups[enemy].live);
  EXPECT_FALSE(MissionGroups.PlayerGroup);
}

using MissionToolkitBlips = MissionToolkit;

TEST_F(MissionToolkitBlips, ANamedBlipStandsOneBelowTheHeightGiven) {
  Blip blip{};
  Run([&] {
    blip = CreateNamedBlip(0xED9B5A10, {100.0f, 200.0f, 43.476f}, HashName("blip_ambient_train"),
                           "Train Robbery");
  });
  const sim::SimBlip* made = host.world.blips.Find(blip.id);
  ASSERT_NE(made, nullptr);
  EXPECT_NEAR(made->position.z, 42.476f, 1e-4f);
  EXPECT_EQ(made->sprite, sim::GameHash("blip_ambient_train"));
  EXPECT_EQ(made->name, "Train Robbery");
}

TEST_F(MissionToolkitBlips, ANewObjectivePointReplacesTheOldBlipWhichGoesFirst) {
  size_t blipsWhileMaking = 0;
  Run([&] {
    SetObjectiveBlip([] { return CreateCoordBlip(0xED9B5A10, {1.0f, 2.0f, 3.0f}); });
    SetObjectiveBlip([&] {
      blipsWhileMaking = host.world.blips.blips.size();
      return CreateRadiusBlip(0xED9B5A10, {4.0f, 5.0f, 6.0f}, 30.0f);
    });
  });
  EXPECT_EQ(blipsWhileMaking, 0u);  // never two objective points on the map
  ASSERT_EQ(host.world.blips.blips.size(), 1u);
  const sim::SimBlip* current = host.world.blips.Find(Campaign.ObjectiveBlip.id);
  ASSERT_NE(current, nullptr);
  EXPECT_FLOAT_EQ(current->radius, 30.0f);

  Run([] {
    RemoveBlipIfExists(Campaign.ObjectiveBlip);
    RemoveBlipIfExists(Campaign.ObjectiveBlip);  // the second finds none and calls nothing
  });
  EXPECT_EQ(host.Calls(RemoveBlip).size(), 2u);
  EXPECT_FALSE(Campaign.ObjectiveBlip);
}

using MissionToolkitDetection = MissionToolkit;

TEST_F(MissionToolkitDetection, AGuardInPlainViewWithinRangeSpotsThePlayer) {
  const Ped guard = SpawnGuard({5.0f, 0.0f, 0.0f});
  PedOf(guard).seesPlayer = true;
  bool spotted = false;
  Run([&] { spotted = SpottedCheck(guard); });
  EXPECT_TRUE(spotted);

  host.MovePlayer({20.0f, 0.0f, 0.0f});  // beyond the 10.0 the guard is asked about
  Run([&] { spotted = SpottedCheck(guard); });
  EXPECT_FALSE(spotted);
}

TEST_F(MissionToolkitDetection, TheTestsRunInOrderAndStopAtTheFirstThatFails) {
  const Ped guard = SpawnGuard({5.0f, 0.0f, 0.0f});
  sim::ScenePed& ped = PedOf(guard);
  ped.seesPlayer = true;
  ped.lineOfSight = false;
  const size_t from = host.Trace().size();
  bool spotted = true;
  Run([&] { spotted = SpottedCheck(guard); });
  EXPECT_FALSE(spotted);
  std::vector<std::string> asked;
  for (const std::string& name : CallNames(from)) {
    if (name != "PlayerPed") asked.push_back(name);
  }
  EXPECT_EQ(asked, (std::vector<std::string>{"PedPerceivesPed", "HasClearLineOfSight"}));

  // Noticing counts only when the game answers exactly 1.
  ped.lineOfSight = true;
  ped.notices = 2;
  Run([&] { spotted = SpottedCheck(guard); });
  EXPECT_FALSE(spotted);
  EXPECT_TRUE(host.Calls(IsPedDown).empty());
}

TEST_F(MissionToolkitDetection, ADownedGuardNeverSpotsEvenInPlainView) {
  const Ped guard = SpawnGuard({1.0f, 0.0f, 0.0f});
  PedOf(guard).seesPlayer = true;
  PedOf(guard).down = true;
  bool spotted = true;
  Run([&] { spotted = SpottedCheck(guard); });
  EXPECT_FALSE(spotted);
  EXPECT_EQ(host.Calls(IsPedDown).size(), 1u);
}

TEST_F(MissionToolkitDetection, SeveralGuardsAreTestedInArrayOrder) {
  Ped guards[3] = {SpawnGuard({1.0f, 0.0f, 0.0f}), SpawnGuard({2.0f, 0.0f, 0.0f}),
                   SpawnGuard({3.0f, 0.0f, 0.0f})};
  PedOf(guards[1]).seesPlayer = true;
  PedOf(guards[2]).seesPlayer = true;
  int32_t first = -2;
  Run([&] { first = FirstSpotter(guards, 3); });
  EXPECT_EQ(first, 1);
}

using MissionToolkitFailure = MissionToolkit;

TEST_F(MissionToolkitFailure, ASpottedPlayerSeesTheFailureAndThePrologueStartsOver) {
  Ped guards[2] = {SpawnGuard({1.0f, 0.0f, 0.0f}), SpawnGuard({2.0f, 0.0f, 0.0f})};
  const Ped guard = guards[1];
  const int32_t handles[2] = {guards[0].id, guards[1].id};
  Blip stageBlip{};
  Run([&] { stageBlip = CreateCoordBlip(0xED9B5A10, {9.0f, 9.0f, 9.0f}); });
  Prologue.PrologueStage = PrologueStageId{4};
  const size_t from = host.Trace().size();
  int32_t start = 0, end = 0;
  Run([&] {
    start = GameTimer();
    MissionFailedRestart(guard, guards, 2, &stageBlip);
    end = GameTimer();
  });

  std::vector<std::string> steps;
  for (const std::string& name : CallNames(from)) {
    if (name == "TriggerMusicEvent" || name == "ClearPedTasks" || name == "TaskCombatPed" ||
        name == "KeepPedTask" || name == "SetPedBlockEvents" || name == "ShowResultNotice" ||
        name == "ReleaseEntity" || name == "RemoveBlip") {
      if (steps.empty() || steps.back() != name) steps.push_back(name);
    }
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"TriggerMusicEvent", "ClearPedTasks", "TaskCombatPed",
                                             "KeepPedTask", "SetPedBlockEvents", "ShowResultNotice",
                                             "ReleaseEntity", "RemoveBlip"}));
  EXPECT_EQ(host.world.scene.music.back().name, "MC_MUSIC_STOP");
  const sim::ScenePed& attacker = host.world.scene.peds[handles[1]];
  EXPECT_EQ(attacker.combatTarget, host.world.player.ped);
  EXPECT_TRUE(attacker.keepTask);
  EXPECT_TRUE(attacker.blockEvents);

  const sim::Notice* result = host.world.ui.LastNotice(sim::NoticeKind::Result);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->text, "MISSION FAILED");
  EXPECT_EQ(result->subtitle, "You were spotted.");
  EXPECT_EQ(result->durationMs, 3000);
  EXPECT_GE(end - start, 5000);

  EXPECT_EQ(host.world.scene.released, (std::vector<int32_t>{handles[0], handles[1]}));
  EXPECT_EQ(guards[0].id, 0);
  EXPECT_EQ(host.world.blips.Find(stageBlip.id), nullptr);
  EXPECT_FALSE(stageBlip);
  EXPECT_EQ(Prologue.PrologueStage, 0);
}

using MissionToolkitMission = MissionToolkit;

TEST_F(MissionToolkitMission, MusicIsTriggeredOncePerFrameUntilTheGameAcceptsIt) {
  host.world.scene.musicRefusals["PRO_ESCAPE_START"] = 3;
  Run([] { TriggerMusicUntilAccepted("PRO_ESCAPE_START"); });
  const auto& music = host.world.scene.music;
  ASSERT_EQ(music.size(), 4u);
  EXPECT_TRUE(music[3].accepted);
  for (size_t i = 1; i < music.size(); ++i)
    EXPECT_EQ(music[i].frame, music[i - 1].frame + 1);
  EXPECT_EQ(host.world.scene.playingMusic, "PRO_ESCAPE_START");
}

TEST_F(MissionToolkitMission, StartAndEndSetTheModesFlagsAndControl) {
  Run([] {
    BeginMission(6);
    SetMissionAudioFlags(true);
    SetPlayerControlOn(false);
  });
  sim::SceneWorld& scene = host.world.scene;
  EXPECT_EQ(scene.sceneOption, 6);
  EXPECT_EQ(scene.missionUiMode, 1);
  EXPECT_TRUE(scene.sceneDisplay);
  EXPECT_FALSE(scene.playerControl);
  const auto flags = host.Calls(SetAudioFlag);
  ASSERT_EQ(flags.size(), 3u);
  EXPECT_EQ(flags[0]->strings[0], "OpenWorldMusicDisabled");
  EXPECT_EQ(flags[1]->strings[0], "MusicIgnoreDeathArrest");
  EXPECT_EQ(flags[2]->strings[0], "MusicIgnoreScreenFade");

  Run([] {
    EndMission();
    SetMissionAudioFlags(false);
    SetPlayerControlOn(true);
  });
  EXPECT_EQ(scene.sceneOption, 8);
  EXPECT_EQ(scene.missionUiMode, 0);
  EXPECT_FALSE(scene.sceneDisplay);
  EXPECT_TRUE(scene.playerControl);
  for (const auto& [name, on] : scene.audioFlags)
    EXPECT_FALSE(on) << name;
}

TEST_F(MissionToolkitMission, TheGamesTransitionIsWaitedOutWithTheActionRunning) {
  host.world.scene.transitionFramesLeft = 6;
  Run([] { WaitOutTransition(CountFrame); });
  EXPECT_EQ(host.world.scene.releasedTransitions, 1);
  EXPECT_EQ(host.world.scene.transitionFramesLeft, 0);
  EXPECT_EQ(FramesRun, 6);
}

TEST_F(MissionToolkitMission, ATransitionSceneIsRequestedUntilLoaded) {
  Run([] { RequestTransitionSceneAndWait("MISSION_TRANSITION_CLOUDS_SCENE"); });
  EXPECT_EQ(host.world.scene.transitionScenes["MISSION_TRANSITION_CLOUDS_SCENE"], 0);
  EXPECT_EQ(host.Calls(RequestTransitionScene).size(), 4u);
}

TEST_F(MissionToolkitMission, TheGpsRouteLeadsToTheObjectiveUntilArrival) {
  Run([] { BeginGpsRoute({3.0f, 4.0f, 5.0f}); });
  ASSERT_EQ(host.world.scene.gpsPoints.size(), 1u);
  EXPECT_FLOAT_EQ(host.world.scene.gpsPoints[0].y, 4.0f);
  EXPECT_TRUE(host.world.scene.gpsShown);
  Run([] { EndGpsRoute(); });
  EXPECT_FALSE(host.world.scene.gpsShown);
}

TEST_F(MissionToolkitMission, AWeaponRewardArmsThePlayerAndAnnouncesIt) {
  Run([] {
    GiveWeaponReward(HashName("WEAPON_MELEE_KNIFE"), 1, 0, 1, 4, 1, "Knife Unlocked",
                     "weapon_melee_knife");
    AddCash(2000);
  });
  const sim::ScenePed& player = host.world.scene.peds[host.world.player.ped];
  ASSERT_EQ(player.weapons.size(), 1u);
  EXPECT_EQ(player.weapons[0].weapon, sim::GameHash("WEAPON_MELEE_KNIFE"));
  EXPECT_EQ(player.weapons[0].ammo, 1);
  const sim::Notice* toast = host.world.ui.LastNotice(sim::NoticeKind::Toast);
  ASSERT_NE(toast, nullptr);
  EXPECT_EQ(toast->text, "New Weapon:");
  EXPECT_EQ(toast->subtitle, "Knife Unlocked");
  ASSERT_FALSE(host.world.ui.sounds.empty());
  EXPECT_EQ(host.world.ui.sounds.back().name, "REWARD_NEW_GUN");
  EXPECT_EQ(host.world.scene.money, 2000);
}

TEST_F(MissionToolkitMission, TheHonorSoundReachesTheGameWithItsThirdSlotOne) {
  Run([] { PlayHonorSound(); });
  ASSERT_FALSE(host.world.ui.sounds.empty());
  const sim::FrontendSound& sound = host.world.ui.sounds.back();
  EXPECT_EQ(sound.name, "Honor_Increase_Small");
  EXPECT_EQ(sound.set, "Honor_Display_Sounds");
  EXPECT_EQ(sound.arg, 1);
  EXPECT_EQ(sound.flag, 0);
}

using MissionToolkitWorld = MissionToolkit;

TEST_F(MissionToolkitWorld, ClearingAnAreaRemovesOnlyAmbientPedsInRange) {
  const Ped guard = SpawnGuard({2.0f, 0.0f, 0.0f});
  const int32_t near = host.world.Spawn(sim::EntityKind::Ped, 1, {5.0f, 0.0f, 0.0f}, 0.0f);
  const int32_t far = host.world.Spawn(sim::EntityKind::Ped, 1, {50.0f, 0.0f, 0.0f}, 0.0f);
  Run([] { ClearAreaAround({0.0f, 0.0f, 0.0f}, 10.0f); });

  EXPECT_EQ(host.world.Find(near), nullptr);
  EXPECT_NE(host.world.Find(far), nullptr);
  EXPECT_NE(host.world.Find(guard.id), nullptr);
  EXPECT_NE(host.world.Find(host.world.player.ped), nullptr);
  const auto& areas = host.world.scene.clearedAreas;
  ASSERT_EQ(areas.size(), 3u);
  EXPECT_EQ(areas[0].flags, 1917883);
  EXPECT_EQ(areas[1].flags, 0x200000);
  EXPECT_EQ(areas[2].flags, -1);
}

TEST_F(MissionToolkitWorld, EndingScriptsByNameTerminatesOnlyThoseNamed) {
  host.world.scene.threads = {{11, "ambient_guards", true},
                              {12, "weather", true},
                              {13, "pen_prisoners", true},
                              {14, "ambient_guards", true}};
  const char* const names[] = {"pen_prisoners", "ambient_guards"};
  Run([&] { EndGameScripts(names, 2); });
  const auto& threads = host.world.scene.threads;
  EXPECT_FALSE(threads[0].running);
  EXPECT_TRUE(threads[1].running);
  EXPECT_FALSE(threads[2].running);
  EXPECT_FALSE(threads[3].running);
  EXPECT_EQ(host.Calls(TerminateThread).size(), 3u);
}

}  // namespace
}  // namespace brimvale
