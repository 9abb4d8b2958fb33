// The interaction menu's and the clothing shops' side of the game: disabled controls,
// walk styles, the menu camera, point lights and worn clothing.
#include <algorithm>
#include <cstring>

#include "hook/host.h"

namespace brimvale::sim {
namespace {

struct ClothingSlot {
  const char* word;      // "HAT" in "CLOTHING_ITEM_M_HAT_000_TINT_000"
  const char* category;  // what removes it
};

// The game's clothing slots and the category each belongs to.
constexpr ClothingSlot kClothingSlots[] = {
    {"HAT", "hats"},          {"COAT", "coats"},
    {"SHIRT", "shirts_full"}, {"VEST", "vests"},
    {"PANTS", "pants"},       {"BOOTS", "boots"},
    {"GLOVES", "gloves"},     {"NECKTIE", "neckties"},
    {"GUNBELT", "gunbelts"},  {"SPURS", "boot_accessories"},
    {"CHAPS", "chaps"},       {"CLOSECOAT", "coats_closed"},
    {"EYEWEAR", "eyewear"},   {"BANDOLIER", "loadouts"},
    {"MASK", "masks"},        {"NECKERCHIEF", "neckwear"},
    {"NECKWEAR", "neckwear"}, {"OVERALLS", "pants"},
    {"PONCHO", "ponchos"},    {"SUSPENDERS", "suspenders"},
};

// The slot of a known item name "CLOTHING_ITEM_<M|F>_<WORD>_<ddd>_<TINT|VAR>_<ddd>", else null.
const ClothingSlot* SlotOfItem(const std::string& name) {
  constexpr std::string_view kPrefix = "CLOTHING_ITEM_";
  if (name.rfind(kPrefix, 0) != 0 || name.size() < kPrefix.size() + 2) return nullptr;
  const char gender = name[kPrefix.size()];
  if ((gender != 'M' && gender != 'F') || name[kPrefix.size() + 1] != '_') return nullptr;
  const std::string rest = name.substr(kPrefix.size() + 2);
  for (const ClothingSlot& slot : kClothingSlots) {
    const std::string word = std::string(slot.word) + "_";
    if (rest.rfind(word, 0) != 0) continue;
    const std::string numbers = rest.substr(word.size());
    // Three digits for the part; "00-1" (the part -1) names nothing the game has.
    if (numbers.size() < 4 || numbers[3] != '_') return nullptr;
    for (int i = 0; i < 3; ++i) {
      if (numbers[static_cast<size_t>(i)] < '0' || numbers[static_cast<size_t>(i)] > '9')
        return nullptr;
    }
    return &slot;
  }
  return nullptr;
}

bool IsPed(SimHost& h, int32_t handle) {
  const SimEntity* e = h.world.Find(handle);
  return e && e->kind == EntityKind::Ped;
}

void RegisterMenuControls(SimHost& host) {
  host.On(DisableControlThisFrame, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == 2) h.world.shop.disabledControls.insert(c.UInt(1));
  });
  host.On(CreateCameraByName, [](SimHost& h, const NativeCall& c) {
    CameraWorld& w = h.world.cameras;
    SimCamera cam;
    cam.handle = w.nextHandle++;
    cam.kind = c.Str(0);
    w.cameras[cam.handle] = cam;
    c.ReturnInt(cam.handle);
  });
  host.On(DrawPointLight, [](SimHost& h, const NativeCall& c) {
    h.world.shop.lastPointLight = {h.Frame(), c.Vec(0),   c.Int(3),  c.Int(4),
                                   c.Int(5),  c.Float(6), c.Float(7)};
  });
}

void RegisterWalkStyles(SimHost& host) {
  host.On(SetPedStartOption, [](SimHost& h, const NativeCall& c) {
    if (IsPed(h, c.Int(0))) h.world.shop.startOptions[c.Int(0)] = c.Int(1);
  });
  // The style is dropped some frames later; asking to drop a style the ped does not have does
  // nothing.
  host.On(RemovePedWalkStyle, [](SimHost& h, const NativeCall& c) {
    if (!IsPed(h, c.Int(0))) return;
    if (h.world.look.Of(c.Int(0)).walkStyle != c.Str(1)) return;
    h.world.shop.droppingWalkStyles[c.Int(0)] = {c.Str(1), h.world.shop.walkStyleDropFrames};
  });
  host.On(IsPedWalkStyleSet, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(IsPed(h, c.Int(0)) && h.world.look.Of(c.Int(0)).walkStyle == c.Str(1));
  });
}

}  // namespace

std::map<std::string, std::string> WornItems(const ShopWorld& shop, const PedLook& look) {
  std::map<std::string, std::string> worn;
  for (const ClothingChange& change : look.clothing) {
    if (change.removal) {
      for (const ClothingSlot& slot : kClothingSlots) {
        if (GameHash(slot.category) == change.hash) worn.erase(slot.word);
      }
      continue;
    }
    auto name = shop.hashedNames.find(change.hash);
    if (name == shop.hashedNames.end()) continue;
    if (const ClothingSlot* slot = SlotOfItem(name->second)) worn[slot->word] = name->second;
  }
  return worn;
}

void RegisterMenuNatives(SimHost& host) {
  RegisterMenuControls(host);
  RegisterWalkStyles(host);
}

// The frame's disabled controls are kept for a look afterwards; styles being dropped come one
// frame closer to gone.
void EndFrameShop(SimHost& host) {
  ShopWorld& shop = host.world.shop;
  shop.disabledControlsLastFrame = std::move(shop.disabledControls);
  shop.disabledControls.clear();
  for (auto it = shop.droppingWalkStyles.begin(); it != shop.droppingWalkStyles.end();) {
    PedLook* look = host.world.Find(it->first) ? &host.world.look.Of(it->first) : nullptr;
    if (!look || look->walkStyle != it->second.name) {
      it = shop.droppingWalkStyles.erase(it);
      continue;
    }
    if (--it->second.framesLeft <= 0) {
      look->walkStyle.clear();
      it = shop.droppingWalkStyles.erase(it);
      continue;
    }
    ++it;
  }
}

}  // namespace brimvale::sim
