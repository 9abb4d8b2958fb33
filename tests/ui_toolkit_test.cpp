// Text, sprites, sounds, notices and texture dictionaries as the game receives them.
#include <string>

#include "core/native/natives.h"
#include "sim_fixture.h"
#include "ui/toolkit.h"

namespace brimvale {
namespace {

using sim::NoticeKind;
using testing::SimTest;

class UiToolkit : public SimTest {
 protected:
  void SetUp() override { host.LoadPlugin(); }
  void Run(std::function<void()> body) { ASSERT_TRUE(host.RunScript(std::move(body))); }
  const sim::DrawList& Drawn() const { return host.world.ui.lastFrame; }
  // The names of the calls made, in order, from the trace.
  std::string CallNames() const {
    std::string names;
    for (const auto& call : host.Trace())
      names += std::string(call.name) + " ";
    return names;
  }
};

// --- Drawn text -----------------------------------------------------------------------------

using UiToolkitText = UiToolkit;

TEST_F(UiToolkitText, TitleTextIsWhiteMarkupWrappedInAColourString) {
  Run([] { DrawTitleText("CREATOR", 0.1f, 0.2f, 1.0f, 0.5f); });
  const sim::DrawnText* text = Drawn().FindText("CREATOR");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, "<FONT FACE='$title' COLOR='#FFFFFF'>CREATOR</FONT>");
  EXPECT_FLOAT_EQ(text->x, 0.1f);
  EXPECT_FLOAT_EQ(text->y, 0.2f);
  EXPECT_FLOAT_EQ(text->scaleX, 1.0f);
  EXPECT_FLOAT_EQ(text->scaleY, 0.5f);

  const auto strings = host.Calls(CreateVarString);
  ASSERT_EQ(strings.size(), 2u);
  EXPECT_EQ(strings[0]->Int(0), 10);
  EXPECT_EQ(strings[0]->strings.at(0), "LITERAL_STRING");
  EXPECT_EQ(strings[1]->Int(0), 42);
  EXPECT_EQ(strings[1]->strings.at(0), "COLOR_STRING");
  EXPECT_EQ(strings[1]->Int(2), 0);
  EXPECT_EQ(strings[1]->args[3], strings[0]->result[0]);  // wraps the literal
  EXPECT_EQ(host.Calls(DisplayText).at(0)->args[0], strings[1]->result[0]);
  // Both shapes share one hash, so the trace names them alike.
  EXPECT_EQ(CallNames(), "CreateVarString CreateVarString DisplayText SetTextScale ");
}

TEST_F(UiToolkitText, ColouredTextCallsDisplayScaleColourEvenWhenInvisible) {
  Run([] { DrawText("~o~Rank~s~", 0.5f, 0.6f, 0.3f, 0.4f, 10, 20, 30, 0); });
  EXPECT_EQ(CallNames(), "CreateVarString CreateVarString DisplayText SetTextScale SetTextColour ");
  const sim::DrawnText* text = Drawn().FindText("~o~Rank~s~");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, "<FONT FACE='$title'>~o~Rank~s~</FONT>");
  EXPECT_EQ(text->r, 10);
  EXPECT_EQ(text->g, 20);
  EXPECT_EQ(text->b, 30);
  EXPECT_EQ(text->a, 0);
}

TEST_F(UiToolkitText, AnEmptyTextStillCarriesBothTags) {
  Run([] {
    DrawTitleText("", 0.0f, 0.0f, 0.0f, 0.0f);
    DrawText("", 0.0f, 0.0f, 0.0f, 0.0f, 0, 0, 0, 255);
  });
  ASSERT_EQ(Drawn().texts.size(), 2u);
  EXPECT_EQ(Drawn().texts[0].text, "<FONT FACE='$title' COLOR='#FFFFFF'></FONT>");
  EXPECT_EQ(Drawn().texts[1].text, "<FONT FACE='$title'></FONT>");
}

TEST_F(UiToolkitText, TextIsSeenOnlyInTheFramesThatDrawIt) {
  Run([] {
    for (int i = 0; i < 3; ++i) {
      ScriptWait(0);
      DrawTitleText("HELLO", 0.5f, 0.5f, 1.0f, 1.0f);
    }
  });
  EXPECT_NE(Drawn().FindText("HELLO"), nullptr);
  host.RunFrame();  // the script is gone: nothing is drawn any more
  EXPECT_EQ(Drawn().FindText("HELLO"), nullptr);
  EXPECT_TRUE(Drawn().texts.empty());
}

TEST_F(UiToolkitText, EveryTextOfABusyFrameSurvivesUntilTheFrameIsDrawn) {
  // The game reads the texts when it renders, after all the calls of the frame.
  Run([&] {
    for (int i = 0; i < 300; ++i) {
      const std::string text = "row " + std::to_string(i) + std::string(80, '.');
      DrawTitleText(text.c_str(), 0.1f, 0.001f * static_cast<float>(i), 0.3f, 0.3f);
    }
  });
  std::vector<const sim::TraceEntry*> literals;
  for (const auto* call : host.Calls(CreateVarString))
    if (call->Int(0) == 10) literals.push_back(call);
  ASSERT_EQ(literals.size(), 300u);
  for (int i = 0; i < 300; ++i) {
    const char* copy = reinterpret_cast<const char*>(static_cast<uintptr_t>(literals[i]->args[2]));
    const std::string expected = "<FONT FACE='$title' COLOR='#FFFFFF'>row " + std::to_string(i) +
                                 std::string(80, '.') + "</FONT>";
    EXPECT_EQ(std::string(copy), expected) << i;
  }
  EXPECT_EQ(Drawn().texts.size(), 300u);
}

TEST_F(UiToolkitText, AnOverlongTextIsCutButKeepsItsClosingTag) {
  const std::string huge(100000, 'x');
  Run([&] { DrawText(huge.c_str(), 0.0f, 0.0f, 1.0f, 1.0f, 255, 255, 255, 255); });
  const sim::DrawnText& text = Drawn().texts.at(0);
  EXPECT_EQ(text.text.size(), kMaxComposedText - 1);
  EXPECT_EQ(text.text.rfind("</FONT>"), text.text.size() - 7);
  EXPECT_EQ(text.text.find("<FONT FACE='$title'>x"), 0u);
}

TEST_F(UiToolkitText, DrawingForManyFramesStaysInsideTheTextRing) {
  bool inside = true;
  Run([&] {
    for (int frame = 0; frame < 400; ++frame) {
      ScriptWait(0);
      for (int i = 0; i < 40; ++i)
        DrawText("Some menu row text", 0.1f, 0.1f, 0.3f, 0.3f, 255, 255, 255, 255);
    }
  });
  for (const auto* call : host.Calls(CreateVarString)) {
    if (call->Int(0) != 10) continue;
    const char* copy = reinterpret_cast<const char*>(static_cast<uintptr_t>(call->args[2]));
    inside = inside && copy >= Ui.textRing && copy < Ui.textRing + kTextRingSize;
  }
  EXPECT_TRUE(inside);
  EXPECT_EQ(Drawn().texts.size(), 40u);
}

// --- Sprites and texture dictionaries -------------------------------------------------------

using UiToolkitTextures = UiToolkit;

TEST_F(UiToolkitTextures, ANewDictionaryIsRequestedEveryHalfSecondUntilLoaded) {
  host.config.textureLoadFrames = 40;  // longer than one wait
  const int64_t start = host.Frame();
  int64_t done = 0;
  Run([&] {
    EnsureTextureDict("menu_textures");
    done = host.Frame();
  });
  EXPECT_TRUE(host.world.ui.TextureDictLoaded("menu_textures"));
  const auto requests = host.Calls(RequestTextureDict);
  ASSERT_EQ(requests.size(), 3u);  // 40 frames of loading span three half-second waits
  EXPECT_EQ(requests[0]->strings.at(0), "menu_textures");
  EXPECT_EQ(requests[0]->Int(1), 1);
  EXPECT_GE(requests[1]->frame - requests[0]->frame, 15);  // 500 ms at 30 frames a second
  EXPECT_GE(done - start, 40);
}

TEST_F(UiToolkitTextures, ALoadedDictionaryCostsOneCheckAndNoWait) {
  Run([] { EnsureTextureDict("generic_textures"); });
  host.ClearTrace();
  int64_t before = 0, after = 0;
  Run([&] {
    before = host.Frame();
    EnsureTextureDict("generic_textures");
    after = host.Frame();
  });
  EXPECT_EQ(before, after);
  EXPECT_EQ(CallNames(), "HasTextureDictLoaded ");
}

TEST_F(UiToolkitTextures, SpritesShowOnlyFromLoadedDictionaries) {
  Run([] {
    DrawSprite("menu_textures", "translate_bg_1a", 0.2f, 0.3f, 0.4f, 0.5f, 0.0f, 0, 0, 0, 200,
               false);
  });
  EXPECT_TRUE(Drawn().sprites.empty());
  EXPECT_EQ(Drawn().spritesNotDrawn, 1);
  Run([] {
    EnsureTextureDict("MENU_TEXTURES");  // names are not case sensitive
    DrawSprite("menu_textures", "translate_bg_1a", 0.2f, 0.3f, 0.4f, 0.5f, 0.0f, 0, 0, 0, 200,
               false);
  });
  const sim::DrawnSprite* sprite = Drawn().FindSprite("translate_bg_1a");
  ASSERT_NE(sprite, nullptr);
  EXPECT_FLOAT_EQ(sprite->width, 0.4f);
  EXPECT_EQ(sprite->a, 200);
}

// --- Notices, objective and sounds ----------------------------------------------------------

using UiToolkitNotices = UiToolkit;

TEST_F(UiToolkitNotices, HelpTextPostsItsDurationAndLiteralText) {
  Run([] { ShowHelpText("Press ~INPUT_LOOT~ to Create Your Brimvale Character.", 1000); });
  const sim::Notice* help = host.world.ui.LastNotice(NoticeKind::Help);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->durationMs, 1000);
  EXPECT_EQ(help->text, "Press ~INPUT_LOOT~ to Create Your Brimvale Character.");
  EXPECT_EQ(help->flag1, 1);
  EXPECT_EQ(host.Calls(CreateVarString).at(0)->strings.at(0), "LITERAL_STRING");
}

TEST_F(UiToolkitNotices, BannersLastFifteenSecondsWhatever) {
  Run([] { ShowBanner("~o~The Escape~s~"); });
  const sim::Notice* banner = host.world.ui.LastNotice(NoticeKind::Banner);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->durationMs, 15000);
  EXPECT_EQ(banner->text, "~o~The Escape~s~");
}

TEST_F(UiToolkitNotices, ToastCarriesTitleSubtitleAndIconHashes) {
  Run([] { ShowRewardToast("Rank Up", "Rank 2", "toast_mp_status_change", "rank_up", 4000); });
  const sim::Notice* toast = host.world.ui.LastNotice(NoticeKind::Toast);
  ASSERT_NE(toast, nullptr);
  EXPECT_EQ(toast->durationMs, 4000);
  EXPECT_EQ(toast->text, "Rank Up");
  EXPECT_EQ(toast->subtitle, "Rank 2");
  EXPECT_EQ(toast->dict, sim::GameHash("toast_mp_status_change"));
  EXPECT_EQ(toast->texture, sim::GameHash("rank_up"));
  EXPECT_EQ(toast->lastSlot, 1u);
  EXPECT_EQ(toast->flag1, 1);
  EXPECT_EQ(toast->flag2, 1);
}

TEST_F(UiToolkitNotices, ResultScreenBlockHasNoIcon) {
  Run([] { ShowResultScreen("MISSION FAILED", "You were spotted.", 5000); });
  const sim::Notice* result = host.world.ui.LastNotice(NoticeKind::Result);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->durationMs, 5000);
  EXPECT_EQ(result->text, "MISSION FAILED");
  EXPECT_EQ(result->subtitle, "You were spotted.");
  EXPECT_EQ(result->dict, 0u);
  EXPECT_EQ(result->texture, 0u);
  EXPECT_EQ(result->lastSlot, 1u);
}

TEST_F(UiToolkitNotices, ObjectiveIsSetCommittedShownAndKeptInOrder) {
  Run([] { ShowObjective("Take out the ~s~~e~Guard.~s~"); });
  ASSERT_EQ(host.world.ui.objectives.size(), 1u);
  EXPECT_EQ(host.world.ui.objectives[0].text, "Take out the ~s~~e~Guard.~s~");
  EXPECT_EQ(host.world.ui.objectives[0].steps, 4);
}

TEST_F(UiToolkitNotices, MenuSoundStopsThenPlaysTheSame) {
  Run([] { PlayMenuSound("NAV_UP", "HUD_SHOP_SOUNDSET", 0); });
  const auto& sounds = host.world.ui.sounds;
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_TRUE(sounds[0].stop);
  EXPECT_EQ(sounds[0].name, "NAV_UP");
  EXPECT_EQ(sounds[0].set, "HUD_SHOP_SOUNDSET");
  EXPECT_FALSE(sounds[1].stop);
  EXPECT_EQ(sounds[1].name, "NAV_UP");
  EXPECT_EQ(sounds[1].arg, 1);
  EXPECT_EQ(sounds[1].flag, 0);
}

TEST_F(UiToolkitNotices, PressPromptAnswersOnlyToItsControlOnPadTwo) {
  bool answers[3] = {};
  Run([&] {
    for (bool& answer : answers) {
      answer =
          PressPrompt("Press ~INPUT_LOOT~ to Create Your Brimvale Character.", "INPUT_LOOT", 1000);
      ScriptWait(0);
    }
  });
  EXPECT_FALSE(answers[0]);
  host.Press("INPUT_LOOT", 0);  // the wrong pad
  Run([&] { answers[1] = PressPrompt("Press ~INPUT_LOOT~ to loot.", "INPUT_LOOT", 1000); });
  host.Press("INPUT_LOOT", 2);
  Run([&] { answers[2] = PressPrompt("Press ~INPUT_LOOT~ to loot.", "INPUT_LOOT", 1000); });
  EXPECT_FALSE(answers[1]);
  EXPECT_TRUE(answers[2]);
  EXPECT_EQ(host.world.ui.CountNotices(NoticeKind::Help, "Press ~INPUT_LOOT~ to loot."), 2);
}

}  // namespace
}  // namespace brimvale
