// The clothing shops in the towns and their wardrobe screens.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

inline constexpr int kWardrobeShopCount = 5;
inline constexpr int32_t kWardrobeFee = 2000;  // cents

struct WardrobeShop {
  const char* name;
  Vector3 blip;  // at the door
  Vector3 inside;
  float insideHeading;
  Vector3 exit;
  float exitHeading;
};

inline constexpr WardrobeShop kWardrobeShops[kWardrobeShopCount] = {
    {"Valentine",
     {-326.392f, 797.185f, 121.512f},
     {-327.29f, 807.676f, 116.894f},
     278.232f,
     {-326.195f, 797.053f, 120.512f},
     11.605f},
    {"Strawberry",
     {-1796.614f, -388.37f, 160.264f},
     {-1794.1f, -395.155f, 159.337f},
     322.349f,
     {-1797.073f, -388.147f, 159.236f},
     34.399f},
    {"Blackwater",
     {-756.097f, -1299.822f, 43.638f},
     {-767.825f, -1295.144f, 42.844f},
     270.017f,
     {-756.192f, -1299.713f, 42.639f},
     273.986f},
    {"Rhodes",
     {1333.369f, -1292.276f, 80.239f},
     {1324.035f, -1287.922f, 76.019f},
     152.373f,
     {1333.24f, -1292.236f, 79.239f},
     242.487f},
    {"Saint Denis",
     {2554.98f, -1154.619f, 53.482f},
     {2556.418f, -1161.174f, 52.702f},
     323.724f,
     {2555.105f, -1153.393f, 52.314f},
     63.757f},
};

// The shops' stages; the numbers are the ones traced and tested.
enum WardrobeStateId : int32_t {
  kWardrobeSetup = -1,
  kWardrobeOutside = 0,
  kWardrobeEditing = 1,  // this and every later stage is a visit
  kWardrobeLeavingUnpaid = 2,
  kWardrobeLeavingPaid = 3,  // with the new outfit
};

struct WardrobeScreenState {
  WardrobeStateId WardrobeState = kWardrobeSetup;
  Blip ShopBlips[kWardrobeShopCount] = {};
  Vector3 ShopPositions[kWardrobeShopCount] = {};  // read back from the blips
  const char* CurrentShop = "None";                // a shop's name while one is in use
  int32_t WardrobePage = 0;                        // 0 .. 3
  int32_t WardrobeRow = 0;                         // 0 .. 9
  Cam WardrobeCamera{};
  int32_t TransitionEffect = 0;
};

extern WardrobeScreenState Wardrobe;

// One frame of the shops: their blips, entry prompts and open screens; runs in free roam.
void UpdateWardrobe();

// From entering a shop until its exit sequence has run.
bool WardrobeVisitActive();

// A death inside a shop cancels the visit at once: the entry outfit back, nothing charged or
// saved, the view handed back to the game for the death sequence.
void CancelWardrobeOnDeath();

}  // namespace brimvale
