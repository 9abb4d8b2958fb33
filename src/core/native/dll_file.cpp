#include "core/native/dll_file.h"

#include <cstring>
#include <utility>

namespace brimvale {
namespace {

constexpr uint16_t kMachineX64 = 0x8664;
constexpr uint16_t kExecutableImage = 0x0002;
constexpr uint16_t kDllImage = 0x2000;
constexpr uint16_t kPe32Plus = 0x020B;
constexpr uint32_t kMaxSections = 96;  // the most the Windows loader takes
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint32_t kExportDirectorySize = 40;
// The optional header up to and including the first data directory, the export table's.
constexpr uint64_t kOptionalHeaderWithExports = 120;

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Reads the `length` bytes at `offset`, when they all lie in the file.
bool ReadAt(const DllFile& file, uint64_t offset, uint64_t length, void* into) {
  if (offset > file.size || length > file.size - offset) return false;
  return length == 0 || file.read(file.file, offset, into, static_cast<size_t>(length));
}

// The `length` bytes at `rva` of the export data, as an offset in it; false when any of them
// lies outside it.
bool InExportData(const DllExports& exports, uint32_t rva, uint64_t length, size_t& offset) {
  if (rva < exports.rva) return false;
  const uint64_t into = rva - exports.rva;
  if (into > exports.data.size() || length > exports.data.size() - into) return false;
  offset = static_cast<size_t>(into);
  return true;
}

}  // namespace

bool ReadDllExports(const DllFile& file, DllExports& exports) {
  if (file.read == nullptr) return false;
  uint8_t dos[64];
  if (!ReadAt(file, 0, sizeof dos, dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
  const uint64_t peOffset = Le32(dos + 0x3C);
  uint8_t pe[24];
  if (!ReadAt(file, peOffset, sizeof pe, pe) || std::memcmp(pe, "PE\0\0", 4) != 0) return false;
  const uint16_t characteristics = Le16(pe + 22);
  if (Le16(pe + 4) != kMachineX64 || (characteristics & kExecutableImage) == 0 ||
      (characteristics & kDllImage) == 0) {
    return false;
  }
  const uint32_t sectionCount = Le16(pe + 6);
  const uint16_t optionalSize = Le16(pe + 20);
  uint8_t optional[kOptionalHeaderWithExports];
  // The whole optional header must lie in the file, though only its start is read.
  if (optionalSize < kOptionalHeaderWithExports ||
      peOffset + sizeof pe + optionalSize > file.size ||
      !ReadAt(file, peOffset + sizeof pe, sizeof optional, optional) ||
      Le16(optional) != kPe32Plus || Le32(optional + 108) < 1) {
    return false;
  }
  const uint32_t exportRva = Le32(optional + 112);
  const uint32_t exportSize = Le32(optional + 116);
  if (exportRva == 0 || exportSize < kExportDirectorySize || exportSize > kMaxExportData ||
      sectionCount == 0 || sectionCount > kMaxSections) {
    return false;
  }

  uint8_t sections[kMaxSections * kSectionHeaderSize];
  if (!ReadAt(file, peOffset + sizeof pe + optionalSize, sectionCount * kSectionHeaderSize,
              sections)) {
    return false;
  }
  // A file cut short (a broken download or copy) ends before the data of a section; the export
  // data lies whole in the file data of one section.
  uint64_t exportOffset = 0;
  bool exportFound = false;
  for (uint32_t i = 0; i < sectionCount; ++i) {
    const uint8_t* header = sections + i * kSectionHeaderSize;
    const uint32_t start = Le32(header + 12);
    const uint32_t rawSize = Le32(header + 16);
    const uint32_t rawOffset = Le32(header + 20);
    if (rawOffset > file.size || rawSize > file.size - rawOffset) return false;
    if (!exportFound && exportRva >= start && exportRva - start < rawSize) {
      if (exportSize > rawSize - (exportRva - start)) return false;
      exportOffset = uint64_t{rawOffset} + (exportRva - start);
      exportFound = true;
    }
  }
  if (!exportFound) return false;

  DllExports read;
  read.rva = exportRva;
  read.data.resize(exportSize);
  if (!ReadAt(file, exportOffset, exportSize, read.data.data())) return false;
  const uint8_t* directory = read.data.data();
  read.functionCount = Le32(directory + 20);
  read.nameCount = Le32(directory + 24);
  if (read.nameCount == 0 ||
      !InExportData(read, Le32(directory + 28), read.functionCount * uint64_t{4}, read.functions) ||
      !InExportData(read, Le32(directory + 32), read.nameCount * uint64_t{4}, read.names) ||
      !InExportData(read, Le32(directory + 36), read.nameCount * uint64_t{2}, read.ordinals)) {
    return false;
  }
  exports = std::move(read);
  return true;
}

bool DllExportsName(const DllExports& exports, const char* name) {
  const uint64_t length = std::strlen(name) + 1;  // with its terminating zero
  const uint8_t* data = exports.data.data();
  for (uint32_t i = 0; i < exports.nameCount; ++i) {
    size_t text = 0;
    if (!InExportData(exports, Le32(data + exports.names + i * size_t{4}), length, text) ||
        std::memcmp(data + text, name, length) != 0) {
      continue;
    }
    const uint16_t ordinal = Le16(data + exports.ordinals + i * size_t{2});
    if (ordinal >= exports.functionCount) continue;
    const uint32_t address = Le32(data + exports.functions + ordinal * size_t{4});
    // An address inside the export data is a forwarder's text ("OTHER.Function"), not code.
    size_t unused = 0;
    if (address != 0 && !InExportData(exports, address, 1, unused)) return true;
  }
  return false;
}

}  // namespace brimvale
