// How arguments reach the script hook and how results come back, seen from the host's side.
#include <cmath>
#include <map>
#include <set>

#include "core/native/natives.h"
#include "core/native/player_model.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::SimTest;

class NativeLayer : public SimTest {
 protected:
  void SetUp() override { host.LoadPlugin(); }
  const sim::TraceEntry& LastCall() { return host.Trace().back(); }
};

TEST_F(NativeLayer, IntegersTravelZeroExtendedAndMinusOneIsNotSignExtended) {
  SetPedWalkStyle(Ped{{7}}, "MP_Style_Casual", 1, -1);
  const sim::TraceEntry& call = LastCall();
  EXPECT_STREQ(call.name, "SetPedWalkStyle");
  ASSERT_EQ(call.args.size(), 4u);
  EXPECT_EQ(call.args[0], 7u);
  EXPECT_EQ(call.args[2], 1u);
  EXPECT_EQ(call.args[3], 0x00000000FFFFFFFFull);
  EXPECT_EQ(call.strings, std::vector<std::string>{"MP_Style_Casual"});

  Blip negative{-5};
  DoesBlipExist(negative);
  EXPECT_EQ(LastCall().args[0], 0x00000000FFFFFFFBull);
}

TEST_F(NativeLayer, FloatsTravelAsTheirBitsInTheLowHalf) {
  SetDeadEyeMultiplier(PlayerIndex(), 3.0f);
  EXPECT_EQ(LastCall().args[1], 0x0000000040400000ull);
  // The catalogue's parameter types convert at the call: an int literal arrives as a float.
  SetTextScale(1, 0.5);
  EXPECT_EQ(LastCall().args[0], 0x000000003F800000ull);
  EXPECT_EQ(LastCall().args[1], 0x000000003F000000ull);
  SetDeadEyeMultiplier(PlayerIndex(), -1.0f);
  EXPECT_EQ(LastCall().args[1], 0x00000000BF800000ull);
}

TEST_F(NativeLayer, BooleansArePushedAsZeroOrOneAndPointersWhole) {
  RequestTextureDict("BLIPS_MP", true);
  const char* name = "BLIPS_MP";
  EXPECT_EQ(LastCall().args[1], 1u);
  HasTextureDictLoaded(name);
  EXPECT_EQ(LastCall().args[0], reinterpret_cast<uintptr_t>(name));
  Blip blip{3};
  RemoveBlip(&blip);
  EXPECT_EQ(LastCall().args[0], reinterpret_cast<uintptr_t>(&blip));
  RemoveBlip(nullptr);
  EXPECT_EQ(LastCall().args[0], 0u);
}

TEST_F(NativeLayer, AVectorArgumentTakesThreeFloatSlots) {
  const float d =
      InvokeNative<float>(DistanceBetweenPoints.hash, Vector3{1, 2, 3}, Vector3{4, 6, 3});
  EXPECT_FLOAT_EQ(d, 5.0f);
  EXPECT_EQ(LastCall().args.size(), 6u);
  EXPECT_EQ(LastCall().args[0], 0x000000003F800000ull);
}

TEST_F(NativeLayer, ResultsAreReadFromTheLowHalfOfTheFirstSlot) {
  host.On(GameTimer,
          [](sim::SimHost&, const sim::NativeCall& c) { c.result[0] = 0xABCD00000005ull; });
  EXPECT_EQ(GameTimer(), 5);
  host.On(IsModelValid,
          [](sim::SimHost&, const sim::NativeCall& c) { c.result[0] = 0x100000000ull; });
  EXPECT_FALSE(IsModelValid(1));  // only the low 32 bits count
  host.On(PlayerPed, [](sim::SimHost&, const sim::NativeCall& c) { c.result[0] = 0xFFFFFFFFull; });
  EXPECT_EQ(PlayerPed().id, -1);
  host.On(GetEntityHeading,
          [](sim::SimHost&, const sim::NativeCall& c) { c.result[0] = 0x7777777742C80000ull; });
  EXPECT_FLOAT_EQ(GetEntityHeading(Entity{1}), 100.0f);
}

// Tests change the game's answer in the middle of a session; the very next call must get it,
// for a native the game answered before and for one it had left unanswered.
TEST_F(NativeLayer, AnAnswerGivenAfterANativeWasCalledIsTheOneTheNextCallReads) {
  host.MovePlayer({10.5f, -20.25f, 3.0f});
  EXPECT_FLOAT_EQ(GetEntityCoords(PlayerPed(), true, true).x, 10.5f);
  host.On(GetEntityCoords, [](sim::SimHost&, const sim::NativeCall& c) {
    c.ReturnVector({1.0f, 2.0f, 3.0f});
  });
  EXPECT_FLOAT_EQ(GetEntityCoords(PlayerPed(), true, true).x, 1.0f);

  SetMountOption(Ped{{4}}, 1, 0, 0);
  std::vector<int32_t> options;
  host.On(SetMountOption,
          [&](sim::SimHost&, const sim::NativeCall& c) { options.push_back(c.Int(1)); });
  SetMountOption(Ped{{4}}, 2, 0, 0);
  EXPECT_EQ(options, std::vector<int32_t>{2});
}

TEST_F(NativeLayer, AVectorResultIsCopiedOutBeforeTheNextCall) {
  host.MovePlayer({10.5f, -20.25f, 3.0f});
  const Vector3 at = GetEntityCoords(PlayerPed(), true, true);
  // The next call begins a new result area; the copy must not change with it.
  GetEntityCoords(Entity{999999}, true, true);
  GameTimer();
  EXPECT_FLOAT_EQ(at.x, 10.5f);
  EXPECT_FLOAT_EQ(at.y, -20.25f);
  EXPECT_FLOAT_EQ(at.z, 3.0f);
}

TEST_F(NativeLayer, HashNameIsTheGamesCaseBlindHashAndEveryCallIsTraced) {
  EXPECT_EQ(HashName("INPUT_LOOT"), sim::GameHash("input_loot"));
  EXPECT_EQ(HashName("MP_MALE"), HashName("mp_male"));
  EXPECT_EQ(sim::GameHash(""), 0u);
  const sim::TraceEntry& call = LastCall();
  EXPECT_STREQ(call.name, "HashName");
  EXPECT_EQ(call.result[0], sim::GameHash("mp_male"));
  EXPECT_TRUE(host.UnknownNatives().empty());
}

TEST_F(NativeLayer, AnUnknownHashIsRecordedAndAnsweredWithZeros) {
  const uint64_t notInCatalogue = sim::GameHash("not a native") * 7919ull;
  ASSERT_EQ(sim::FindNative(notInCatalogue), nullptr);
  EXPECT_EQ(InvokeNative<int32_t>(notInCatalogue, 5), 0);
  ASSERT_EQ(host.UnknownNatives().size(), 1u);
  EXPECT_EQ(host.UnknownNatives()[0], notInCatalogue);
  EXPECT_STREQ(LastCall().name, "unknown");
}

TEST(NativeCatalogue, EveryNativeHasOneHashAndEveryHashOneMeaning) {
  // Two role names may share a hash only as two argument forms of one native.
  const std::set<std::set<std::string>> argumentForms = {{"CreateVarString", "CreateColorString"}};
  std::map<uint64_t, std::vector<const sim::NativeInfo*>> byHash;
  for (const sim::NativeInfo& info : sim::NativeRegistry()) {
    EXPECT_NE(info.hash >> 32, 0u) << info.name << " has a 32-bit hash";
    byHash[info.hash].push_back(&info);
  }
  std::set<std::set<std::string>> shared;
  for (const auto& [hash, natives] : byHash) {
    if (natives.size() == 1) continue;
    std::set<std::string> names;
    std::set<std::vector<sim::ArgForm>> forms;
    for (const sim::NativeInfo* info : natives) {
      names.insert(info->name);
      forms.insert(info->forms);
    }
    EXPECT_EQ(forms.size(), natives.size()) << natives[0]->name << " is listed twice alike";
    EXPECT_TRUE(argumentForms.contains(names)) << "hash " << std::hex << hash << " is shared by "
                                               << natives[0]->name << " and " << natives[1]->name;
    shared.insert(names);
  }
  EXPECT_EQ(shared, argumentForms);
  EXPECT_STREQ(sim::FindNative(CreateVarString.hash)->name, "CreateVarString");
}

}  // namespace
}  // namespace brimvale
