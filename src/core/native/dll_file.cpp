#include "core/native/dll_file.h"

#include <cstring>

namespace brimvale {
namespace {

constexpr uint16_t kMachineX64 = 0x8664;
constexpr uint16_t kExecutableImage = 0x0002;
constexpr uint16_t kDllImage = 0x2000;
constexpr uint16_t kPe32Plus = 0x020B;
constexpr uint32_t kMaxSections = 96;  // the most the Windows loader takes
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint64_t kExportDirectorySize = 40;
// The optional header up to and including the first data directory, the export table's.
constexpr uint64_t kOptionalHeaderWithExports = 120;

// The `length` bytes at `offset`, or null when any of them lies past the end of the file.
const uint8_t* At(const uint8_t* file, size_t size, uint64_t offset, uint64_t length) {
  if (offset > size || length > size - offset) return nullptr;
  return file + offset;
}

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The file offset of the `length` bytes at `rva` in the loaded image, when they all lie in the
// file data of one section (the section headers were checked to lie in the file, and so does
// every section's data).
bool RvaToOffset(const DllExports& dll, uint32_t rva, uint64_t length, size_t& offset) {
  for (uint32_t i = 0; i < dll.sectionCount; ++i) {
    const uint8_t* header = dll.file + dll.sectionTable + i * kSectionHeaderSize;
    const uint32_t start = Le32(header + 12);
    const uint32_t rawSize = Le32(header + 16);
    if (rva < start || rva - start >= rawSize) continue;
    const uint64_t into = rva - start;
    if (length > rawSize - into) return false;
    offset = static_cast<size_t>(Le32(header + 20) + into);
    return true;
  }
  return false;
}

}  // namespace

bool ReadDllExports(const uint8_t* file, size_t size, DllExports& exports) {
  const uint8_t* dos = At(file, size, 0, 64);
  if (dos == nullptr || dos[0] != 'M' || dos[1] != 'Z') return false;
  const uint64_t peOffset = Le32(dos + 0x3C);
  const uint8_t* pe = At(file, size, peOffset, 24);
  if (pe == nullptr || std::memcmp(pe, "PE\0\0", 4) != 0) return false;
  const uint16_t characteristics = Le16(pe + 22);
  if (Le16(pe + 4) != kMachineX64 || (characteristics & kExecutableImage) == 0 ||
      (characteristics & kDllImage) == 0) {
    return false;
  }
  const uint32_t sectionCount = Le16(pe + 6);
  const uint16_t optionalSize = Le16(pe + 20);
  const uint8_t* optional = At(file, size, peOffset + 24, optionalSize);
  if (optional == nullptr || optionalSize < kOptionalHeaderWithExports ||
      Le16(optional) != kPe32Plus || Le32(optional + 108) < 1) {
    return false;
  }
  const uint32_t exportRva = Le32(optional + 112);
  if (exportRva == 0 || sectionCount == 0 || sectionCount > kMaxSections) return false;

  DllExports dll;
  dll.file = file;
  dll.size = size;
  dll.sectionTable = static_cast<size_t>(peOffset + 24 + optionalSize);
  dll.sectionCount = sectionCount;
  if (At(file, size, dll.sectionTable, sectionCount * kSectionHeaderSize) == nullptr) return false;
  // A file cut short (a broken download or copy) ends before the data of a section.
  for (uint32_t i = 0; i < sectionCount; ++i) {
    const uint8_t* header = file + dll.sectionTable + i * kSectionHeaderSize;
    if (At(file, size, Le32(header + 20), Le32(header + 16)) == nullptr) return false;
  }

  size_t directory = 0;
  if (!RvaToOffset(dll, exportRva, kExportDirectorySize, directory)) return false;
  dll.functionCount = Le32(file + directory + 20);
  dll.nameCount = Le32(file + directory + 24);
  if (dll.nameCount == 0 ||
      !RvaToOffset(dll, Le32(file + directory + 28), dll.functionCount * uint64_t{4},
                   dll.functions) ||
      !RvaToOffset(dll, Le32(file + directory + 32), dll.nameCount * uint64_t{4}, dll.names) ||
      !RvaToOffset(dll, Le32(file + directory + 36), dll.nameCount * uint64_t{2}, dll.ordinals)) {
    return false;
  }
  exports = dll;
  return true;
}

bool DllExportsName(const DllExports& exports, const char* name) {
  const uint64_t length = std::strlen(name) + 1;  // with its terminating zero
  for (uint32_t i = 0; i < exports.nameCount; ++i) {
    size_t text = 0;
    if (!RvaToOffset(exports, Le32(exports.file + exports.names + i * size_t{4}), length, text) ||
        std::memcmp(exports.file + text, name, length) != 0) {
      continue;
    }
    const uint16_t ordinal = Le16(exports.file + exports.ordinals + i * size_t{2});
    if (ordinal < exports.functionCount &&
        Le32(exports.file + exports.functions + ordinal * size_t{4}) != 0) {
      return true;
    }
  }
  return false;
}

}  // namespace brimvale
