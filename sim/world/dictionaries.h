// Game dictionaries (textures, animations) that load some frames after the first request.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <string_view>

namespace brimvale::sim {

struct LoadingDict {
  int framesLeft = -1;  // -1: not being loaded
  bool loaded = false;
  int requests = 0;
};

// Dictionaries by name, matched without regard to case as the game does.
struct DictTable {
  std::map<std::string, LoadingDict> byName;

  static std::string Key(std::string_view name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return key;
  }
  // A request starts the load once; further requests only count.
  void Request(std::string_view name, int framesToLoad) {
    LoadingDict& dict = byName[Key(name)];
    ++dict.requests;
    if (dict.loaded || dict.framesLeft > 0) return;
    if (framesToLoad <= 0) {
      dict.loaded = true;
    } else {
      dict.framesLeft = framesToLoad;
    }
  }
  bool Loaded(std::string_view name) const {
    auto it = byName.find(Key(name));
    return it != byName.end() && it->second.loaded;
  }
  const LoadingDict* Find(std::string_view name) const {
    auto it = byName.find(Key(name));
    return it == byName.end() ? nullptr : &it->second;
  }
  void Release(std::string_view name) { byName.erase(Key(name)); }
  // One frame has passed.
  void Tick() {
    for (auto& [name, dict] : byName) {
      if (dict.framesLeft > 0 && --dict.framesLeft == 0) {
        dict.framesLeft = -1;
        dict.loaded = true;
      }
    }
  }
};

}  // namespace brimvale::sim
