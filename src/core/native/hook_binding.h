// Finding the script hook by its exports: among the modules already loaded in the process, or
// among the DLL files of the game's folder. The hook is built with Microsoft's compiler, so its
// exports carry C++ decorated names; the plain names are accepted as well.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/native/dll_file.h"
#include "core/native/hook.h"

namespace brimvale {

// An export's address in a module, or null (GetProcAddress on Windows).
using FindExport = void* (*)(void* module, const char* name);

// Binds `api` to the first of `modules` that exports all nine operations. False, with `api`
// untouched, when no module has them all.
bool BindHookFromModules(void* const* modules, size_t count, FindExport find, ScriptHookApi& api);

// Whether the DLL file exports all nine operations with addresses of its own, under the names
// that BindHookFromModules accepts; read from the file, without loading it.
bool DllFileHasHookExports(const DllFile& file);

}  // namespace brimvale
