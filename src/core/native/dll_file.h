// Reading the export names of a 64-bit Windows DLL from its file, without loading it. The file
// is whatever the game's folder holds, on whatever drive: it is read in a few small reads of its
// headers and its export data, and every offset and count in it is checked before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brimvale {

// Reads `length` bytes of the file at `offset` into `into`: false on any error of the drive or a
// short read. The file is whatever `file` stands for (a handle on Windows, bytes in a test).
using ReadFileAt = bool (*)(void* file, uint64_t offset, void* into, size_t length);

struct DllFile {
  void* file = nullptr;
  uint64_t size = 0;  // the file's size in bytes
  ReadFileAt read = nullptr;
};

// Export data larger than this is no script hook's (its nine names take well under a page).
inline constexpr uint32_t kMaxExportData = 1 << 20;

// A DLL's export data as read from its file: the directory, its three tables and the names, and
// the forwarders, which lie in the same range.
struct DllExports {
  uint32_t rva = 0;  // where the export data lies in the loaded image
  std::vector<uint8_t> data;
  uint32_t functionCount = 0;
  uint32_t nameCount = 0;
  size_t functions = 0;  // offsets in `data` of the address, name pointer and ordinal tables
  size_t names = 0;
  size_t ordinals = 0;
};

// Reads the export table of `file`. False when the file is not a whole 64-bit x64 DLL (too short
// for a section its headers name, or damaged), cannot be read, or exports nothing by name.
bool ReadDllExports(const DllFile& file, DllExports& exports);

// Whether the table exports `name` with an address of its own: a name forwarded to another DLL
// is not there (the loader would bind it to that DLL's function, whatever it is).
bool DllExportsName(const DllExports& exports, const char* name);

}  // namespace brimvale
