// Reading the export names of a 64-bit Windows DLL from its file, without loading it. The file
// is whatever the game's folder holds, so every offset and count in it is checked against the
// file's size before it is used.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brimvale {

// Where the export table of a DLL file lies, as found by ReadDllExports.
struct DllExports {
  const uint8_t* file = nullptr;
  size_t size = 0;
  size_t sectionTable = 0;  // file offset of the first section header
  uint32_t sectionCount = 0;
  uint32_t functionCount = 0;
  uint32_t nameCount = 0;
  size_t functions = 0;  // file offsets of the address, name pointer and ordinal tables
  size_t names = 0;
  size_t ordinals = 0;
};

// Reads the export table of `file` (the `size` bytes of a DLL file as they are on disk). False
// when the file is not a whole 64-bit x64 DLL (too short for a section its headers name, or
// damaged) or exports nothing by name.
bool ReadDllExports(const uint8_t* file, size_t size, DllExports& exports);

// Whether the table exports `name` with an address.
bool DllExportsName(const DllExports& exports, const char* name);

}  // namespace brimvale
