// The script hook's nine exports in the order of its operations, under the names a hook built with
// Microsoft's compiler gives them and under their plain names, as the tests of finding the hook
// lay them out in fake modules and crafted DLL files.
#pragma once

#include <string>
#include <vector>

namespace brimvale::testing {

inline const std::vector<std::string> kDecoratedNames = {
    "?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z",
    "?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z",
    "?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z",
    "?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z",
    "?scriptWait@@YAXK@Z",
    "?nativeInit@@YAX_K@Z",
    "?nativePush64@@YAX_K@Z",
    "?nativeCall@@YAPEA_KXZ",
    "?getGlobalPtr@@YAPEA_KH@Z"};
inline const std::vector<std::string> kPlainNames = {"scriptRegister",
                                                     "scriptUnregister",
                                                     "keyboardHandlerRegister",
                                                     "keyboardHandlerUnregister",
                                                     "scriptWait",
                                                     "nativeInit",
                                                     "nativePush64",
                                                     "nativeCall",
                                                     "getGlobalPtr"};

}  // namespace brimvale::testing
