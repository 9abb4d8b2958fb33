// The library entry, registration with the hook, the key table and the frame loop's yield.
#include "core/entry.h"
#include "core/natives.h"
#include "progression/progression.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

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

}  // namespace
}  // namespace brimvale
