// The playthrough's pictures: a known frame drawn and its pixels read back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "pictures/screen_render.h"
#include "pictures/world_map.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using sim::ScreenImage;

constexpr int kW = sim::kScreenWidth, kH = sim::kScreenHeight;

uint32_t Rgb(uint32_t pixel) {
  return pixel & 0xFFFFFF;
}
int Channel(uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

bool Near(uint32_t pixel, uint32_t rgb) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(pixel, shift) - Channel(rgb, shift)) > 2) return false;
  }
  return true;
}

// Pixels of this colour (give or take rounding) inside the box of screen fractions.
int CountColour(const ScreenImage& image, uint32_t rgb, double x0, double y0, double x1,
                double y1) {
  int count = 0;
  for (int y = static_cast<int>(y0 * image.height); y < static_cast<int>(y1 * image.height); ++y) {
    for (int x = static_cast<int>(x0 * image.width); x < static_cast<int>(x1 * image.width); ++x)
      count += Near(image.Pixel(x, y), rgb);
  }
  return count;
}

sim::DrawnText Text(std::string markup, float x, float y, float scale, int r, int g, int b,
                    int a = 255) {
  sim::DrawnText t;
  t.text = "<FONT FACE='$title'>" + markup + "</FONT>";
  t.x = x;
  t.y = y;
  t.scaleX = t.scaleY = scale;
  t.r = r, t.g = g, t.b = b, t.a = a;
  return t;
}

sim::DrawnSprite Sprite(const char* texture, float x, float y, float w, float h, int r, int g,
                        int b, int a) {
  sim::DrawnSprite s;
  s.dict = "generic_textures";
  s.texture = texture;
  s.x = x, s.y = y, s.width = w, s.height = h;
  s.r = r, s.g = g, s.b = b, s.a = a;
  return s;
}

TEST(ScreenRender, SpritesAreRectanglesInTheirColourAndAlphaCentredOnTheirPoint) {
  sim::ScreenFrame screen;
  screen.list.sprites.push_back(Sprite("inkroller_1a", 0.25f, 0.25f, 0.2f, 0.2f, 200, 40, 40, 255));
  screen.list.sprites.push_back(Sprite("menu_bg", 0.75f, 0.25f, 0.2f, 0.2f, 0, 0, 255, 128));
  const ScreenImage image = sim::RenderScreen(screen);
  ASSERT_EQ(image.width, kW);
  ASSERT_EQ(image.height, kH);

  // Opaque: its exact colour from (0.15, 0.15) to (0.35, 0.35), the background outside.
  EXPECT_EQ(Rgb(image.Pixel(480, 270)), 0xC82828u);
  EXPECT_EQ(Rgb(image.Pixel(static_cast<int>(0.34 * kW), static_cast<int>(0.34 * kH))), 0xC82828u);
  EXPECT_NE(Rgb(image.Pixel(static_cast<int>(0.36 * kW), 270)), 0xC82828u);
  EXPECT_NE(Rgb(image.Pixel(480, static_cast<int>(0.36 * kH))), 0xC82828u);
  // Half transparent blue over the dark background: about half blue, the rest still shows.
  const uint32_t blended = image.Pixel(static_cast<int>(0.75 * kW), 270);
  EXPECT_NEAR(Channel(blended, 0), 128 + 10, 12);
  EXPECT_LT(Channel(blended, 16), 20);
  // The texture's name is written inside it, in its top-left corner.
  int lettering = 0;
  for (int y = static_cast<int>(0.153 * kH); y < static_cast<int>(0.17 * kH); ++y)
    for (int x = static_cast<int>(0.152 * kW); x < static_cast<int>(0.25 * kW); ++x)
      lettering += Rgb(image.Pixel(x, y)) != 0xC82828u;
  EXPECT_GT(lettering, 50);
  EXPECT_EQ(Rgb(image.Pixel(static_cast<int>(0.3 * kW), static_cast<int>(0.16 * kH))), 0xC82828u);
}

TEST(ScreenRender, TextIsDrawnFromItsTopLeftInItsColourWithTheMarkupApplied) {
  sim::ScreenFrame screen;
  screen.list.texts.push_back(Text("GREEN", 0.1f, 0.5f, 1.0f, 0, 255, 0));
  screen.list.texts.push_back(Text("top~n~~o~GOLD~s~ line", 0.6f, 0.1f, 1.0f, 0, 0, 255));
  screen.list.texts.push_back(Text("Press ~INPUT_LOOT~", 0.1f, 0.8f, 0.6f, 255, 255, 0));
  screen.list.texts.push_back(Text("GONE", 0.5f, 0.5f, 1.0f, 255, 0, 255, 0));
  const ScreenImage image = sim::RenderScreen(screen);

  // Drawn right of and below its point, at most a line high, nowhere else.
  EXPECT_GT(CountColour(image, 0x00FF00, 0.1, 0.5, 0.3, 0.57), 500);
  EXPECT_EQ(CountColour(image, 0x00FF00, 0.0, 0.0, 1.0, 0.5), 0);
  EXPECT_EQ(CountColour(image, 0x00FF00, 0.0, 0.57, 1.0, 1.0), 0);
  EXPECT_EQ(CountColour(image, 0x00FF00, 0.0, 0.5, 0.1, 0.57), 0);
  // "~n~" starts a second line in the orange of "~o~"; the first line keeps the text's blue.
  EXPECT_GT(CountColour(image, 0x0000FF, 0.6, 0.1, 0.8, 0.16), 100);
  EXPECT_EQ(CountColour(image, 0x0000FF, 0.6, 0.16, 0.62, 0.23), 0);
  EXPECT_GT(CountColour(image, 0xFFA333, 0.6, 0.16, 0.8, 0.23), 100);
  // "~s~" goes back to blue on the same line.
  EXPECT_GT(CountColour(image, 0x0000FF, 0.7, 0.16, 0.95, 0.23), 50);
  // The control icon is a yellow box after "Press ".
  EXPECT_GT(CountColour(image, 0xFFFF00, 0.16, 0.8, 0.3, 0.85), 100);
  // Alpha 0 is not seen.
  EXPECT_EQ(CountColour(image, 0xFF00FF, 0.0, 0.0, 1.0, 1.0), 0);
}

TEST(ScreenRender, NoticesAndTheCaptionSitInTheirPlaces) {
  sim::ScreenFrame screen;
  const sim::ScreenImage empty = sim::RenderScreen(screen);
  screen.help = "Press ~INPUT_LOOT~ to Create Your Brimvale Character.";
  screen.objective = "Take out the ~e~Guard.~s~";
  sim::Notice result;
  result.kind = sim::NoticeKind::Result;
  result.text = "MISSION PASSED";
  result.subtitle = "Prologue";
  sim::Notice toast;
  toast.kind = sim::NoticeKind::Toast;
  toast.text = "Rank Up";
  toast.subtitle = "Rank 1";
  screen.notices = {result, toast};
  screen.caption = "play  |  frame 1";
  const sim::ScreenImage image = sim::RenderScreen(screen);

  auto changed = [&](double x0, double y0, double x1, double y1) {
    int n = 0;
    for (int y = static_cast<int>(y0 * kH); y < static_cast<int>(y1 * kH); y += 2)
      for (int x = static_cast<int>(x0 * kW); x < static_cast<int>(x1 * kW); x += 2)
        n += image.Pixel(x, y) != empty.Pixel(x, y);
    return n;
  };
  EXPECT_GT(changed(0.02, 0.03, 0.3, 0.15), 1000) << "help text top-left";
  EXPECT_GT(CountColour(image, 0xDB332E, 0.3, 0.83, 0.7, 0.92), 30) << "objective, its red word";
  EXPECT_GT(changed(0.3, 0.4, 0.7, 0.56), 1000) << "result screen in the middle";
  EXPECT_GT(changed(0.74, 0.18, 0.98, 0.3), 1000) << "toast on the right";
  EXPECT_GT(changed(0.0, 0.97, 0.2, 1.0), 100) << "caption at the bottom";
  EXPECT_EQ(changed(0.3, 0.05, 0.7, 0.3), 0) << "nothing else";
}

TEST(ScreenRender, TheFadeBlacksTheWorldUnderWhatTheScriptsDraw) {
  sim::ScreenFrame screen;
  screen.list.sprites.push_back(Sprite("menu_header_1a", 0.5f, 0.5f, 0.2f, 0.2f, 255, 0, 0, 255));
  screen.fade = 1.0;
  const ScreenImage black = sim::RenderScreen(screen);
  EXPECT_EQ(Rgb(black.Pixel(kW / 10 + 5, kH / 10 + 5)), 0u) << "the world is black";
  EXPECT_GT(CountColour(black, 0xFF0000, 0.4, 0.4, 0.6, 0.6), 10000) << "the sprite stays";

  screen.fade = 0.5;
  const uint32_t dimmed = sim::RenderScreen(screen).Pixel(kW / 10 + 5, kH / 10 + 5);
  screen.fade = 0.0;
  const uint32_t clear = sim::RenderScreen(screen).Pixel(kW / 10 + 5, kH / 10 + 5);
  EXPECT_GT(Channel(dimmed, 0), 0) << "half a fade dims the world";
  EXPECT_LT(Channel(dimmed, 0), Channel(clear, 0));

  // The death screen's effect washes the world red and is named top right.
  screen.effects = {"DeathFailMP01"};
  const uint32_t washed = sim::RenderScreen(screen).Pixel(kW / 2, kH / 10 + 5);
  EXPECT_GT(Channel(washed, 16), Channel(washed, 0) + 20);
  sim::ScreenFrame named;
  const ScreenImage plain = sim::RenderScreen(named);
  named.effects = {"RespawnPulse01"};
  const ScreenImage pulse = sim::RenderScreen(named);
  int changedTopRight = 0, changedElsewhere = 0;
  for (int y = 0; y < kH; y += 3) {
    for (int x = 0; x < kW; x += 3)
      (x > kW * 8 / 10 && y < kH / 20 ? changedTopRight : changedElsewhere) +=
          pulse.Pixel(x, y) != plain.Pixel(x, y);
  }
  EXPECT_GT(changedTopRight, 20);
  EXPECT_EQ(changedElsewhere, 0) << "a pulse does not tint the world";
}

// The map inset of the playthrough's pictures, from the world of a game that has placed the
// creator's blip: the player 40 metres east of the creator's point, facing west.
class MapInset : public testing::SimTest {};

TEST_F(MapInset, ShowsThePlayerWhatIsNearAndHowThePedsFare) {
  host.LoadPlugin();
  host.RunFrames(60);
  host.MovePlayer({2589.794f, -1169.821f, 53.684f});
  host.world.PlayerEntity().heading = 90.0f;
  // A dead ped 30 metres north of the player, a downed one 30 metres south.
  const int32_t dead = host.world.Spawn(sim::EntityKind::Ped, sim::GameHash("S_M_M_VALDEPUTY_01"),
                                        {2589.794f, -1139.821f, 53.684f}, 0.0f);
  host.world.entities.at(dead).dead = true;
  const int32_t downed = host.world.Spawn(sim::EntityKind::Ped, sim::GameHash("S_M_M_VALDEPUTY_01"),
                                          {2589.794f, -1199.821f, 53.684f}, 0.0f);
  host.world.scene.peds[downed].down = true;

  sim::ScreenFrame screen = sim::CaptureScreen(host, "");
  screen.world.reset();  // the inset alone: the world under the HUD names places too
  auto texts = [](const sim::ScreenDrawing& drawing) {
    std::map<std::string, const sim::DrawItem*> found;
    for (const sim::DrawItem& item : drawing.items)
      if (item.kind == sim::DrawKind::Text) found[item.text] = &item;
    return found;
  };
  EXPECT_FALSE(texts(sim::LayOutScreen(screen)).count("creator")) << "no inset without a map";
  screen.map = sim::CaptureWorldMap(host);
  const sim::ScreenDrawing drawing = sim::LayOutScreen(screen);
  const auto shown = texts(drawing);

  // The inset is bottom left, the player at its centre (174, 878), 1.25 pixels a metre, north up:
  // the creator's place and its blip 50 pixels to the west, far places left out.
  ASSERT_TRUE(shown.count("creator"));
  EXPECT_NEAR(shown.at("creator")->x, 130, 1);
  EXPECT_NEAR(shown.at("creator")->y, 882, 1);
  ASSERT_TRUE(shown.count("Brimvale - Create Character"));
  EXPECT_NEAR(shown.at("Brimvale - Create Character")->x, 132, 1);
  EXPECT_FALSE(shown.count("station"));
  EXPECT_TRUE(shown.count("2590, -1170  heading 90"));
  ASSERT_TRUE(shown.count("down"));
  EXPECT_NEAR(shown.at("down")->y, 878 + 37.5 + 4, 1) << "the downed ped is south";
  int crossedOut = 0, heading = 0;
  for (const sim::DrawItem& item : drawing.items) {
    if (item.kind != sim::DrawKind::Line) continue;
    crossedOut +=
        std::abs(item.x + item.w / 2 - 174) < 1 && std::abs(item.y + item.h / 2 - 840.5) < 1;
    heading +=
        item.x == 174 && item.y == 878 && std::abs(item.w + 16) < 0.5 && std::abs(item.h) < 0.5;
  }
  EXPECT_EQ(crossedOut, 2) << "the dead ped, north, is crossed out";
  EXPECT_EQ(heading, 1) << "the player's heading points west";

  const ScreenImage image = sim::RenderScreen(screen);
  EXPECT_EQ(Rgb(image.Pixel(174, 878)), 0xFFFFFFu) << "the player";
}

// The world under the HUD from behind and above the player: he stands at the creator's place's
// east, facing west, so the place is straight ahead, the dead ped north of him off to the right.
TEST_F(MapInset, TheWorldUnderTheHudIsSeenFromBehindThePlayer) {
  host.LoadPlugin();
  host.RunFrames(60);
  host.MovePlayer({2589.794f, -1169.821f, 53.684f});
  host.world.PlayerEntity().heading = 90.0f;
  const int32_t dead = host.world.Spawn(sim::EntityKind::Ped, sim::GameHash("S_M_M_VALDEPUTY_01"),
                                        {2569.794f, -1164.821f, 53.684f}, 0.0f);
  host.world.entities.at(dead).dead = true;
  const sim::ScreenFrame screen = sim::CaptureScreen(host, "");
  const sim::ScreenDrawing drawing = sim::LayOutScreen(screen);
  std::map<std::string, const sim::DrawItem*> shown;
  for (const sim::DrawItem& item : drawing.items)
    if (item.kind == sim::DrawKind::Text) shown[item.text] = &item;
  ASSERT_TRUE(shown.count("creator"));
  EXPECT_NEAR(shown.at("creator")->x, 968, 2) << "straight ahead, 45 m from the eye";
  ASSERT_TRUE(shown.count("dead"));
  EXPECT_GT(shown.at("dead")->x, 1100) << "north of a player facing west is to the right";
  // The picture is the world, not one flat colour: the ground below the horizon, the player on it.
  const ScreenImage image = sim::RenderScreen(screen);
  EXPECT_NE(Rgb(image.Pixel(kW / 2, kH / 10)), Rgb(image.Pixel(kW / 2, kH * 9 / 10)));
  EXPECT_GT(CountColour(image, 0xF2F2EB, 0.45, 0.5, 0.55, 0.9), 500) << "the player, in white";

  // Two metres from the place it is still a short marker with its name low on the screen, and the
  // player stands below the middle, small enough to leave the view ahead open.
  host.MovePlayer({2551.794f, -1169.821f, 53.684f});
  const sim::ScreenDrawing close = sim::LayOutScreen(sim::CaptureScreen(host, ""));
  const sim::DrawItem* name = nullptr;
  const sim::DrawItem* post = nullptr;
  const sim::DrawItem* player = nullptr;
  for (const sim::DrawItem& item : close.items) {
    if (item.kind == sim::DrawKind::Text && item.text == "creator") name = &item;
    if (item.kind != sim::DrawKind::Box) continue;
    if (item.fill.r > 0.9 && item.fill.g > 0.9) player = &item;
    if (std::abs(item.fill.r - 0.75) < 0.01 && std::abs(item.fill.b - 0.6) < 0.01) post = &item;
  }
  ASSERT_TRUE(name);
  EXPECT_GT(name->y, kH * 0.4) << "the post's top, not a pillar out of the picture";
  ASSERT_TRUE(post);
  EXPECT_LT(post->h, kH * 0.2) << "a marker, not a building";
  ASSERT_TRUE(player);
  EXPECT_GT(player->y, kH * 0.55) << "the player's figure stands in the lower half";
  EXPECT_LT(player->h, kH * 0.25) << "seen from far enough back";

  // A ped a metre in front of the eye fills the view only as a faint silhouette.
  host.world.Spawn(sim::EntityKind::Ped, sim::GameHash("S_M_M_VALDEPUTY_01"),
                   {2559.794f, -1169.821f, 53.684f}, 0.0f);
  const sim::ScreenDrawing near = sim::LayOutScreen(sim::CaptureScreen(host, ""));
  const sim::DrawItem* tall = nullptr;
  for (const sim::DrawItem& item : near.items)
    if (item.kind == sim::DrawKind::Box && item.h > kH * 0.5) tall = &item;
  ASSERT_TRUE(tall);
  EXPECT_LT(tall->fill.a, 0.3);
}

}  // namespace
}  // namespace brimvale
