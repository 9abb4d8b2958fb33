// The player-model switch through the two script globals and its direct fallback.
#include "core/native/player_model.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::SimTest;

class PlayerModelSwitch : public SimTest {
 protected:
  void SetUp() override { host.LoadPlugin(); }

  uint64_t PlayerSlot() { return host.HookGlobalPtr(kPlayerModelGlobal)[kPlayerModelGlobalSlot]; }
  uint64_t SessionSlot() {
    return host.HookGlobalPtr(kSessionModelGlobal)[kSessionModelGlobalSlot];
  }
  Hash PlayerModel() { return host.world.PlayerEntity().model; }
  void Switch(const char* model) {
    ASSERT_TRUE(host.RunScript([model] { SwitchPlayerModel(model); }));
  }

  const Hash male = sim::GameHash("MP_MALE");
  const Hash female = sim::GameHash("MP_FEMALE");
};

TEST_F(PlayerModelSwitch, TakesEffectThroughTheGlobalsWithoutTheFallback) {
  const int32_t oldPed = host.world.player.ped;
  Switch("MP_FEMALE");

  EXPECT_EQ(PlayerModel(), female);
  EXPECT_NE(host.world.player.ped, oldPed);  // the refresh rebuilt the player's ped
  EXPECT_EQ(PlayerSlot(), female);
  EXPECT_EQ(SessionSlot(), female);
  EXPECT_TRUE(host.Calls(RequestModel).empty());
  EXPECT_TRUE(host.Calls(SetPlayerModel).empty());

  const auto refreshes = host.Calls(RefreshPlayerState);
  ASSERT_EQ(refreshes.size(), 2u);
  // A second of game time passes between the two refreshes.
  EXPECT_GE(refreshes[1]->frame - refreshes[0]->frame, 30);
  const auto variations = host.Calls(SetPedDefaultVariation);
  ASSERT_EQ(variations.size(), 1u);
  EXPECT_EQ(variations[0]->Int(0), host.world.player.ped);  // the new ped, fetched anew
  EXPECT_EQ(variations[0]->Int(1), 1);
}

TEST_F(PlayerModelSwitch, ToTheModelAlreadyHeldSkipsTheFallback) {
  Switch("MP_MALE");
  host.ClearTrace();
  const int32_t ped = host.world.player.ped;
  Switch("MP_MALE");
  EXPECT_EQ(host.world.player.ped, ped);
  EXPECT_EQ(PlayerModel(), male);
  EXPECT_TRUE(host.Calls(RequestModel).empty());
  EXPECT_TRUE(host.Calls(SetPlayerModel).empty());
}

TEST_F(PlayerModelSwitch, WhenTheGlobalsFailBothSlotsAreRestoredBeforeTheDirectChange) {
  host.world.player.refreshUsesGlobals = false;
  host.HookGlobalPtr(kPlayerModelGlobal)[kPlayerModelGlobalSlot] = 0x1111;
  host.HookGlobalPtr(kSessionModelGlobal)[kSessionModelGlobalSlot] = 0xFFFFFFFF00002222ull;
  uint64_t slotsAtRequest[2] = {};
  host.On(RequestModel, [&](sim::SimHost& h, const sim::NativeCall& c) {
    slotsAtRequest[0] = PlayerSlot();
    slotsAtRequest[1] = SessionSlot();
    h.world.models[c.UInt(0)].framesLeft = 4;  // loads a few frames later
  });
  const int32_t pedBefore = host.world.player.ped;

  Switch("MP_MALE");

  EXPECT_EQ(slotsAtRequest[0], 0x1111u);
  EXPECT_EQ(slotsAtRequest[1], 0xFFFFFFFF00002222ull);
  const auto request = host.Calls(RequestModel);
  ASSERT_EQ(request.size(), 1u);
  EXPECT_EQ(request[0]->UInt(0), male);
  EXPECT_EQ(request[0]->Int(1), 1);
  // The direct change is made on the ped taken before the switch began.
  const auto direct = host.Calls(SetPlayerModel);
  ASSERT_EQ(direct.size(), 1u);
  EXPECT_EQ(direct[0]->Int(0), pedBefore);
  EXPECT_EQ(direct[0]->UInt(1), male);
  EXPECT_EQ(direct[0]->Int(2), 1);
  EXPECT_GT(direct[0]->frame, request[0]->frame);  // it waited for the model to load
  ASSERT_EQ(host.Calls(ReleaseModel).size(), 1u);
  EXPECT_EQ(PlayerSlot(), male);
  EXPECT_EQ(SessionSlot(), male);
  EXPECT_EQ(PlayerModel(), male);
}

TEST_F(PlayerModelSwitch, AModelThatIsNotAValidPedGoesStraightToTheDirectChange) {
  host.world.models[sim::GameHash("MP_MALE")].pedKind = false;
  Switch("MP_MALE");
  EXPECT_TRUE(host.Calls(RefreshPlayerState).empty());
  EXPECT_EQ(host.Calls(SetPlayerModel).size(), 1u);
}

}  // namespace
}  // namespace brimvale
