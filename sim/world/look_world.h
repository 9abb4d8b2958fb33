// What each ped wears and how it looks: texture layers, face features, body type, shop items,
// removed categories, voice, walk style; and the world options the campaign sets on the game.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/native/invoke.h"

namespace brimvale::sim {

Hash GameHash(const char* name);

struct TextureLayer {
  Hash mesh = 0;
  Hash albedo = 0;
  Hash normal = 0;
  Hash material = 0;
  Hash palette = 0;
  int32_t tint0 = 0, tint1 = 0, tint2 = 0;
};

// One change of the ped's clothing, in the order the game saw them.
struct ClothingChange {
  bool removal = false;  // a component category removed, else a shop item applied
  Hash hash = 0;
};

struct PedLook {
  std::map<Hash, TextureLayer> layers;  // by mesh; a layer set again replaces the old one
  std::map<int32_t, float> faceFeatures;
  std::optional<Hash> bodyType;
  std::optional<float> trait;
  // Shop items and category removals since the last reset to the default variation.
  std::vector<ClothingChange> clothing;
  std::string voiceStyle;
  Hash voice = 0;
  std::string walkStyle;
  std::map<std::string, int32_t> flags;
  int fullUpdates = 0;   // UpdatePedVariation(ped, 1, 1, 1, 1, 1)
  int lightUpdates = 0;  // UpdatePedVariation(ped, 0, 1, 0, 1, 0)

  const TextureLayer* Layer(const char* mesh) const {
    auto it = layers.find(GameHash(mesh));
    return it == layers.end() ? nullptr : &it->second;
  }
  // A texture layer of this mesh, or this shop item applied and not removed since.
  bool Wears(const char* name) const {
    if (Layer(name)) return true;
    const Hash item = GameHash(name);
    for (const ClothingChange& change : clothing) {
      if (!change.removal && change.hash == item) return true;
    }
    return false;
  }
  bool Removed(const char* category) const {
    const Hash hash = GameHash(category);
    for (const ClothingChange& change : clothing) {
      if (change.removal && change.hash == hash) return true;
    }
    return false;
  }
  std::vector<Hash> ShopItems() const {
    std::vector<Hash> items;
    for (const ClothingChange& change : clothing) {
      if (!change.removal) items.push_back(change.hash);
    }
    return items;
  }
};

struct LawOption {
  int32_t context = 0;
  int32_t option = 0;
  int32_t value = 0;
};

struct LookWorld {
  std::map<int32_t, PedLook> peds;  // by ped handle: a ped rebuilt by a model switch starts clean

  // World options of the game mode.
  std::vector<Hash> worldHashes;  // every ApplyWorldHash, in order
  int32_t lawContext = 7;         // what GetLawContext answers
  std::vector<LawOption> lawOptions;
  std::optional<int32_t> deathFlow[4];  // the SetDeathFlow* natives, in catalogue order
  std::optional<int32_t> campaignStartFlag;

  PedLook& Of(int32_t ped) { return peds[ped]; }
};

}  // namespace brimvale::sim
