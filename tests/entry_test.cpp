// The library entry, registration with the hook, the key table and the frame loop's yield.
#include <map>
#include <string>
#include <vector>

#include "core/entry.h"
#include "core/native/hook_binding.h"
#include "core/native/natives.h"
#include "hook_export_names.h"
#include "progression/progression.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::kDecoratedNames;
using testing::kPlainNames;
using testing::SimTest;

class Entry : public SimTest {};

TEST_F(Entry, AttachRegistersTheScriptThenTheKeyboardHandler) {
  host.LoadPlugin();
  EXPECT_EQ(host.HookLog(),
            (std::vector<std::string>{"scriptRegister", "keyboardHandlerRegister"}));
}

TEST_F(Entry, DetachFreesTheConsoleThenUnregistersBoth) {
  host.LoadPlugin();
  host.RunFrames(3);
  host.UnloadPlugin();
  EXPECT_EQ(host.HookLog(),
            (std::vector<std::string>{"scriptRegister", "keyboardHandlerRegister", "FreeConsole",
                                      "scriptUnregister", "keyboardHandlerUnregister"}));
  EXPECT_FALSE(host.ScriptRunning());
}

TEST_F(Entry, ThreadNotificationsReturnTrueAndRegisterNothing) {
  host.LoadPlugin();
  const size_t before = host.HookLog().size();
  EXPECT_EQ(PluginEntry(&host, 2), 1);
  EXPECT_EQ(PluginEntry(&host, 3), 1);
  EXPECT_EQ(host.HookLog().size(), before);
  EXPECT_EQ(PluginEntry(&host, kProcessAttach), 1);
  EXPECT_EQ(PluginEntry(&host, kProcessDetach), 1);
}

TEST_F(Entry, KeyMessagesAreRecordedUpTo254) {
  host.LoadPlugin();
  host.RunFrames(2);
  host.SendKey(254, 1, 2, 3);
  const KeyState& last = Keyboard.keyStates[254];
  EXPECT_EQ(last.lastTick, host.PlatformTickCount());
  EXPECT_EQ(last.flag5, 1);
  EXPECT_EQ(last.flag6, 2);
  EXPECT_EQ(last.flag7, 3);

  const KeyboardState before = Keyboard;
  host.SendKey(255, 9, 9, 9);
  host.SendKey(1000, 9, 9, 9);
  EXPECT_EQ(std::memcmp(&before, &Keyboard, sizeof Keyboard), 0);
}

TEST_F(Entry, ASecondMessageOverwritesAllFourFields) {
  host.LoadPlugin();
  host.SendKey(0x45, 1, 1, 1);
  const uint32_t firstTick = Keyboard.keyStates[0x45].lastTick;
  host.RunFrames(5);
  host.SendKey(0x45, 0, 0, 0);
  const KeyState& key = Keyboard.keyStates[0x45];
  EXPECT_GT(key.lastTick, firstTick);
  EXPECT_EQ(key.flag5, 0);
  EXPECT_EQ(key.flag6, 0);
  EXPECT_EQ(key.flag7, 0);
}

TEST_F(Entry, AFreshLoadPutsTheKeyTableBackToZero) {
  host.LoadPlugin();
  host.SendKey(10, 1, 1, 1);
  host.LoadPlugin();
  EXPECT_EQ(Keyboard.keyStates[10].lastTick, 0u);
}

TEST_F(Entry, TheFrameLoopRunsOncePerFrameAndYields) {
  host.LoadPlugin();
  Progression.DeadEyeLevel[0] = true;
  // The first frames wait for the game's resources; after that every frame runs one pass.
  host.RunFrames(120);
  host.ClearTrace();
  host.RunFrames(4);
  const auto calls = host.Calls(SetDeadEyeMultiplier);
  ASSERT_EQ(calls.size(), 4u);
  for (size_t i = 1; i < calls.size(); ++i)
    EXPECT_EQ(calls[i]->frame, calls[i - 1]->frame + 1);
}

TEST_F(Entry, UnloadingMidWaitUnwindsTheScript) {
  host.LoadPlugin();
  bool unwound = false;
  struct Guard {
    bool* flag;
    ~Guard() { *flag = true; }
  };
  EXPECT_FALSE(host.RunScript(
      [&] {
        Guard guard{&unwound};
        for (;;)
          ScriptWait(5000);
      },
      10));
  host.UnloadPlugin();
  EXPECT_TRUE(unwound);
}

// Modules of a process as the binding sees them: export names to addresses.
using FakeModule = std::map<std::string, void*>;

void* FindFakeExport(void* module, const char* name) {
  const FakeModule& exports = *static_cast<FakeModule*>(module);
  auto it = exports.find(name);
  return it == exports.end() ? nullptr : it->second;
}

void* Address(uintptr_t base, size_t index) {
  return reinterpret_cast<void*>(base + index * 16);
}

// A hook's operations under the given names, each at its own address.
FakeModule HookModule(const std::vector<std::string>& names, uintptr_t base) {
  FakeModule module;
  for (size_t i = 0; i < names.size(); ++i)
    module[names[i]] = Address(base, i);
  return module;
}

TEST(HookBinding, TheFirstModuleWithAllNineDecoratedExportsIsBoundWhateverItsPlace) {
  FakeModule system = {{"GetTickCount", Address(0x1000, 0)}};
  std::vector<std::string> eight = kDecoratedNames;
  eight.pop_back();
  FakeModule partial = HookModule(eight, 0x2000);
  FakeModule hook = HookModule(kDecoratedNames, 0x3000);
  FakeModule second = HookModule(kDecoratedNames, 0x4000);
  void* modules[] = {&system, &partial, nullptr, &hook, &second};
  ScriptHookApi api;
  ASSERT_TRUE(BindHookFromModules(modules, 5, FindFakeExport, api));
  EXPECT_EQ(reinterpret_cast<void*>(api.scriptRegister), Address(0x3000, 0));
  EXPECT_EQ(reinterpret_cast<void*>(api.keyboardHandlerUnregister), Address(0x3000, 3));
  EXPECT_EQ(reinterpret_cast<void*>(api.nativeCall), Address(0x3000, 7));
  EXPECT_EQ(reinterpret_cast<void*>(api.getGlobalPtr), Address(0x3000, 8));
}

TEST(HookBinding, PlainNamesAreAcceptedWhereTheDecoratedOnesAreMissing) {
  std::vector<std::string> names = kDecoratedNames;
  names[4] = kPlainNames[4];
  names[5] = kPlainNames[5];
  FakeModule hook = HookModule(names, 0x5000);
  void* modules[] = {&hook};
  ScriptHookApi api;
  ASSERT_TRUE(BindHookFromModules(modules, 1, FindFakeExport, api));
  EXPECT_EQ(reinterpret_cast<void*>(api.scriptWait), Address(0x5000, 4));
  EXPECT_EQ(reinterpret_cast<void*>(api.nativeInit), Address(0x5000, 5));
}

TEST(HookBinding, WithoutAModuleHavingAllNineNothingIsBound) {
  std::vector<std::string> decorated = kDecoratedNames;
  decorated.erase(decorated.begin() + 6);  // no nativePush64 under either name
  FakeModule hook = HookModule(decorated, 0x6000);
  FakeModule rest = {{kPlainNames[6], Address(0x7000, 0)}};  // in another module only
  void* modules[] = {&hook, &rest};
  ScriptHookApi api;
  EXPECT_FALSE(BindHookFromModules(modules, 2, FindFakeExport, api));
  EXPECT_EQ(api.scriptRegister, nullptr);
  EXPECT_EQ(api.nativeCall, nullptr);
}

}  // namespace
}  // namespace brimvale
