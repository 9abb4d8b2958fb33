// libFuzzer target: any bytes as the save file. A whole load (character, outfit, progress) and
// putting the loaded look on the player must neither crash nor read out of bounds, and a write
// after such a load must change nothing of the file but the one value it sets.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "character/appearance.h"
#include "character/character_record.h"
#include "character/outfit.h"
#include "core/campaign.h"
#include "core/entry.h"
#include "core/native/hook.h"
#include "menu/walk_styles.h"
#include "save/profile.h"
#include "save/store.h"

namespace {

using namespace brimvale;

// A game that answers every native with zeros: enough for the apply sequence to index its tables
// with whatever the file held.
uint64_t gResult[8];
uint64_t gGlobals[64];

void InstallSilentHook() {
  Hook.scriptWait = [](uint32_t) {};
  Hook.nativeInit = [](uint64_t) {
    for (uint64_t& slot : gResult)
      slot = 0;
  };
  Hook.nativePush64 = [](uint64_t) {};
  Hook.nativeCall = [] { return gResult; };
  Hook.getGlobalPtr = [](int32_t) { return gGlobals; };
}

std::string ReadSave() {
  std::ifstream in("Brimvale.ini", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteSave(const uint8_t* data, size_t size) {
  std::ofstream out("Brimvale.ini", std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Everything of `before` but one stretch inside a single line is still in `after`, in order:
// the write touched one value (or added lines) and no other line.
void CheckForeignLinesKept(const std::string& before, const std::string& after) {
  size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
    ++prefix;
  size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const std::string_view removed =
      std::string_view(before).substr(prefix, before.size() - prefix - suffix);
  if (removed.find('\n') != std::string_view::npos) {
    std::fprintf(stderr, "a write dropped or changed more than one line\n");
    std::abort();
  }
}

// A name from the input's bytes, for reads and writes of keys the file may or may not hold.
std::string NameFrom(std::string_view text, size_t at, size_t length) {
  if (at >= text.size()) return "Rank";
  return std::string(text.substr(at, length));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every run in a directory of its own: the save file lives in the current directory.
  const auto dir = std::filesystem::temp_directory_path() /
                   ("brimvale_fuzz_" + std::to_string(static_cast<long>(getpid())));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  InstallSilentHook();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteSave(data, size);
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  ResetPluginState();
  LoadCharacterRecord();
  LoadProgress();
  ApplyCharacterAppearance();
  char walkStyle[256];
  GameWalkStyleName(Character.WalkingStyle, walkStyle);
  char item[kClothingItemNameSize];
  ClothingItemName(static_cast<int>(size % 24) - 2, Outfit.OutfitParts[size % 20],
                   Outfit.OutfitTints[(size / 20) % 20], item);

  // The profile layer itself, with names taken from the input and destinations of every size.
  const std::string section = NameFrom(input, 0, 8);
  const std::string key = NameFrom(input, size / 2, 12);
  char small[8];
  char none[1];
  ProfileGetString(section.c_str(), key.c_str(), "default", small, sizeof small, "Brimvale.ini");
  ProfileGetString(section.c_str(), key.c_str(), "", none, 0, "Brimvale.ini");
  ProfileGetString(section.c_str(), key.c_str(), nullptr, none, sizeof none, "Brimvale.ini");
  ProfileGetInt(section.c_str(), key.c_str(), -1, "Brimvale.ini");

  // A write of a known value keeps the rest and reads back as written.
  const std::string before = ReadSave();
  WriteInt("Rank", "XP", 150);
  const std::string after = ReadSave();
  CheckForeignLinesKept(before, after);
  if (ReadInt("Rank", "XP", -7) != 150) {
    std::fprintf(stderr, "a written value did not read back\n");
    std::abort();
  }
  // So does a write under names and a value the input chose (the store refuses unusable names).
  WriteString(section.c_str(), key.c_str(), NameFrom(input, size / 3, 16).c_str());
  CheckForeignLinesKept(after, ReadSave());
  return 0;
}
