// Finding the script hook among the DLL files of the game's folder: the export table read from a
// file, whole, cut short or damaged, as the plugin reads it before it loads anything.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/native/dll_file.h"
#include "core/native/hook_binding.h"
#include "hook_export_names.h"

namespace brimvale {
namespace {

using testing::kDecoratedNames;
using testing::kPlainNames;

// Where the fields that the damage tests change lie in the image that MakeDll builds.
constexpr size_t kPeHeader = 0x80;
constexpr size_t kOptionalHeader = kPeHeader + 24;
constexpr size_t kSectionTable = kOptionalHeader + 240;
constexpr size_t kExportSection = kSectionTable + 40;  // the second section header
constexpr uint32_t kExportRva = 0x2000;
constexpr size_t kExportData = 0x600;  // the export section's data in the file

void Put16(std::vector<uint8_t>& image, size_t at, uint16_t value) {
  image[at] = static_cast<uint8_t>(value);
  image[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& image, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    image[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get32(const std::vector<uint8_t>& image, size_t at) {
  return image[at] | image[at + 1] << 8 | image[at + 2] << 16 |
         static_cast<uint32_t>(image[at + 3]) << 24;
}

// A 64-bit DLL as the linker lays it out: a code section, then an export section holding the
// export directory, its three tables and the names, ending at the end of the file.
std::vector<uint8_t> MakeDll(const std::vector<std::string>& names) {
  const uint32_t count = static_cast<uint32_t>(names.size());
  const uint32_t functions = kExportRva + 40;
  const uint32_t namePointers = functions + 4 * count;
  const uint32_t ordinals = namePointers + 4 * count;
  uint32_t text = ordinals + 2 * count;
  uint32_t exportSize = text - kExportRva;
  for (const std::string& name : names)
    exportSize += static_cast<uint32_t>(name.size() + 1);

  std::vector<uint8_t> image(kExportData + exportSize, 0);
  image[0] = 'M';
  image[1] = 'Z';
  Put32(image, 0x3C, kPeHeader);
  image[kPeHeader] = 'P';
  image[kPeHeader + 1] = 'E';
  Put16(image, kPeHeader + 4, 0x8664);   // x64
  Put16(image, kPeHeader + 6, 2);        // sections
  Put16(image, kPeHeader + 20, 240);     // optional header size
  Put16(image, kPeHeader + 22, 0x2022);  // a DLL, an executable image, large addresses
  Put16(image, kOptionalHeader, 0x20B);  // PE32+
  Put32(image, kOptionalHeader + 108, 16);
  Put32(image, kOptionalHeader + 112, kExportRva);
  Put32(image, kOptionalHeader + 116, exportSize);
  // .text at 0x1000, in the file at 0x400; the export section at 0x2000, in the file at 0x600.
  std::memcpy(&image[kSectionTable], ".text", 5);
  Put32(image, kSectionTable + 8, 0x200);
  Put32(image, kSectionTable + 12, 0x1000);
  Put32(image, kSectionTable + 16, 0x200);
  Put32(image, kSectionTable + 20, 0x400);
  std::memcpy(&image[kExportSection], ".edata", 6);
  Put32(image, kExportSection + 8, exportSize);
  Put32(image, kExportSection + 12, kExportRva);
  Put32(image, kExportSection + 16, exportSize);
  Put32(image, kExportSection + 20, kExportData);

  auto at = [](uint32_t rva) { return kExportData + (rva - kExportRva); };
  Put32(image, at(kExportRva) + 20, count);
  Put32(image, at(kExportRva) + 24, count);
  Put32(image, at(kExportRva) + 28, functions);
  Put32(image, at(kExportRva) + 32, namePointers);
  Put32(image, at(kExportRva) + 36, ordinals);
  for (uint32_t i = 0; i < count; ++i) {
    Put32(image, at(functions) + 4 * i, 0x1000 + 16 * i);
    Put32(image, at(namePointers) + 4 * i, text);
    Put16(image, at(ordinals) + 2 * i, static_cast<uint16_t>(i));
    std::memcpy(&image[at(text)], names[i].c_str(), names[i].size() + 1);
    text += static_cast<uint32_t>(names[i].size() + 1);
  }
  return image;
}

// A file of the game's folder as the plugin reads it: bytes at offsets, each read counted, and
// the drive failing from the read numbered `failAt` on (a network share gone, a disc pulled).
struct FolderFile {
  const std::vector<uint8_t>& bytes;
  uint64_t size;  // the size the drive reports, bytes past `bytes` reading as zeros
  int failAt = -1;
  int reads = 0;
  uint64_t bytesRead = 0;

  static bool Read(void* self, uint64_t offset, void* into, size_t length) {
    FolderFile& file = *static_cast<FolderFile*>(self);
    if (file.reads++ == file.failAt) return false;
    EXPECT_LE(offset + length, file.size);
    file.bytesRead += length;
    auto* out = static_cast<uint8_t*>(into);
    for (size_t i = 0; i < length; ++i)
      out[i] = offset + i < file.bytes.size() ? file.bytes[offset + i] : 0;
    return true;
  }
  DllFile Dll() { return {this, size, Read}; }
};

bool IsHook(const std::vector<uint8_t>& image) {
  FolderFile file{image, image.size()};
  return DllFileHasHookExports(file.Dll());
}

TEST(DllFile, ADllExportingTheNineOperationsIsTheHook) {
  EXPECT_TRUE(IsHook(MakeDll(kDecoratedNames)));
  EXPECT_TRUE(IsHook(MakeDll(kPlainNames)));
  std::vector<std::string> mixed = kDecoratedNames;
  mixed[2] = kPlainNames[2];
  mixed.insert(mixed.begin(), "DllMain");  // other exports beside them do not matter
  EXPECT_TRUE(IsHook(MakeDll(mixed)));
}

TEST(DllFile, EachNameIsFoundWithItsAddressAndNoOtherIs) {
  const std::vector<uint8_t> image = MakeDll(kPlainNames);
  FolderFile file{image, image.size()};
  DllExports exports;
  ASSERT_TRUE(ReadDllExports(file.Dll(), exports));
  for (const std::string& name : kPlainNames)
    EXPECT_TRUE(DllExportsName(exports, name.c_str())) << name;
  EXPECT_FALSE(DllExportsName(exports, "scriptWai"));
  EXPECT_FALSE(DllExportsName(exports, "scriptWaitX"));
  EXPECT_FALSE(DllExportsName(exports, ""));
}

TEST(DllFile, ADllMissingAnyOneOfTheNineIsNotTheHook) {
  for (size_t missing = 0; missing < kDecoratedNames.size(); ++missing) {
    std::vector<std::string> names = kDecoratedNames;
    names.erase(names.begin() + static_cast<long>(missing));
    EXPECT_FALSE(IsHook(MakeDll(names))) << "without " << kDecoratedNames[missing];
  }
  EXPECT_FALSE(IsHook(MakeDll({"GetTickCount", "FreeConsole"})));
}

TEST(DllFile, AFileCutShortAnywhereIsNotTheHook) {
  const std::vector<uint8_t> whole = MakeDll(kDecoratedNames);
  for (size_t size = 0; size < whole.size(); ++size) {
    // A copy of exactly that many bytes, so that a read past its end is caught.
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    EXPECT_FALSE(IsHook(cut)) << "cut at " << size;
  }
}

TEST(DllFile, ATextFileNamedDllIsNotTheHook) {
  const std::string text = "Readme: copy Brimvale.asi into the game's folder.\r\n";
  EXPECT_FALSE(IsHook(std::vector<uint8_t>(text.begin(), text.end())));
  EXPECT_FALSE(IsHook({}));
}

// A hook of several hundred megabytes (or any huge file named .dll) costs a few small reads, and
// a drive that fails at any of them leaves the file passed by, never half read.
TEST(DllFile, TheHookIsReadInAFewSmallReadsAndAFailingDriveIsNoHook) {
  const std::vector<uint8_t> image = MakeDll(kDecoratedNames);
  FolderFile huge{image, uint64_t{600} << 20};
  EXPECT_TRUE(DllFileHasHookExports(huge.Dll()));
  EXPECT_LE(huge.reads, 5);
  EXPECT_LT(huge.bytesRead, uint64_t{8192});
  for (int failAt = 0; failAt < huge.reads; ++failAt) {
    FolderFile failing{image, image.size(), failAt};
    EXPECT_FALSE(DllFileHasHookExports(failing.Dll())) << "the drive failed at read " << failAt;
  }
}

// A DLL may export a name that only points on to another DLL's function ("KERNEL32.Sleep"): the
// loader binds that name to whatever the other DLL has, so it does not count as the hook's.
TEST(DllFile, ANameForwardedToAnotherDllIsNotPresent) {
  std::vector<uint8_t> image = MakeDll(kPlainNames);
  const size_t functions = kExportData + 40;
  // scriptWait's address points at a name's text inside the export data, as a forwarder's does.
  Put32(image, functions + 4 * 4, Get32(image, kExportData + 40 + 4 * kPlainNames.size()));
  FolderFile file{image, image.size()};
  DllExports exports;
  ASSERT_TRUE(ReadDllExports(file.Dll(), exports));
  EXPECT_FALSE(DllExportsName(exports, "scriptWait"));
  EXPECT_TRUE(DllExportsName(exports, "nativeCall"));
  EXPECT_FALSE(IsHook(image));
}

struct Damage {
  const char* what;
  size_t at;
  uint32_t value;
  bool wide;  // 32 bits, else 16
};

TEST(DllFile, DamagedHeadersAndTablesAreNotTheHook) {
  const std::vector<uint8_t> whole = MakeDll(kDecoratedNames);
  const size_t directory = kExportData;
  const size_t functions = kExportData + 40;
  const size_t names = functions + 4 * kDecoratedNames.size();
  const size_t ordinals = names + 4 * kDecoratedNames.size();
  const Damage damages[] = {
      {"no MZ", 0, 0x5A4E, false},
      {"PE header past the end", 0x3C, 0xFFFFFFF0, true},
      {"no PE signature", kPeHeader, 0x00004550 + 1, true},
      {"a 32-bit machine", kPeHeader + 4, 0x014C, false},
      {"not a DLL", kPeHeader + 22, 0x0022, false},
      {"a 32-bit optional header", kOptionalHeader, 0x010B, false},
      {"optional header too short for the export entry", kPeHeader + 20, 112, false},
      {"optional header past the end", kPeHeader + 20, 0xFFFF, false},
      {"no data directories", kOptionalHeader + 108, 0, true},
      {"no export table", kOptionalHeader + 112, 0, true},
      {"export table in no section", kOptionalHeader + 112, 0x9000, true},
      {"export directory across the section's end", kOptionalHeader + 112,
       kExportRva + Get32(whole, kExportSection + 16) - 20, true},
      {"no sections", kPeHeader + 6, 0, false},
      {"more sections than Windows loads", kPeHeader + 6, 97, false},
      {"section headers past the end", kPeHeader + 6, 90, false},
      {"section data past the end", kSectionTable + 20, 0x7FFFFFF0, true},
      {"section longer than the file", kExportSection + 16, 0xFFFFFFFF, true},
      {"billions of names", directory + 24, 0xFFFFFFFF, true},
      {"billions of functions", directory + 20, 0x40000000, true},
      {"name table in no section", directory + 32, 0x50000, true},
      {"ordinal table past the section", directory + 36, kExportRva + 0x7FF0, true},
      {"function table past the section", directory + 28, 0xFFFFFFFC, true},
      {"a name outside every section", names + 4 * 3, 0x8000, true},
      {"a name running off the section", names + 4 * 3,
       kExportRva + Get32(whole, kExportSection + 16) - 1, true},
      {"an ordinal past the function table", ordinals + 2 * 5, 9, false},
      {"a name without an address", functions + 4 * 7, 0, true},
  };
  for (const Damage& damage : damages) {
    std::vector<uint8_t> image = whole;
    if (damage.wide) {
      Put32(image, damage.at, damage.value);
    } else {
      Put16(image, damage.at, static_cast<uint16_t>(damage.value));
    }
    EXPECT_FALSE(IsHook(image)) << damage.what;
  }
}

TEST(DllFile, RandomDamageNeverReadsOutsideTheFile) {
  const std::vector<uint8_t> whole = MakeDll(kDecoratedNames);
  std::mt19937 random(23);
  std::uniform_int_distribution<size_t> place(0, whole.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int run = 0; run < 20000; ++run) {
    std::vector<uint8_t> image = whole;
    for (int i = 0; i < 1 + run % 4; ++i)
      image[place(random)] = static_cast<uint8_t>(byte(random));
    // Whatever it decides, the sanitizers see every read stay inside the copy.
    IsHook(image);
  }
}

}  // namespace
}  // namespace brimvale
