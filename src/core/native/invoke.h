// The one way a native is called: begin with its hash, push each argument into a 64-bit slot,
// call, and read the result out of the returned slot area before anything else is called.
#pragma once

#include <bit>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/native/hook.h"

namespace brimvale {

using Hash = uint32_t;  // the game's 32-bit hash of a name

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// A position the game writes through a pointer argument: each float sits in its own 64-bit slot.
struct OutVector3 {
  float x = 0.0f;
  uint32_t padX = 0;
  float y = 0.0f;
  uint32_t padY = 0;
  float z = 0.0f;
  uint32_t padZ = 0;
};

// Handles are 32-bit integers from the game, 0 meaning none. Each kind is its own type so that a
// blip can never be passed where a ped is expected; peds, vehicles and objects are entities.
struct Entity {
  int32_t id = 0;
  explicit operator bool() const { return id != 0; }
  friend bool operator==(Entity, Entity) = default;
};
struct Ped : Entity {};
struct Vehicle : Entity {};
struct Object : Entity {};

#define BRIMVALE_HANDLE(Name)                          \
  struct Name {                                        \
    int32_t id = 0;                                    \
    explicit operator bool() const { return id != 0; } \
    friend bool operator==(Name, Name) = default;      \
  }
BRIMVALE_HANDLE(Player);
BRIMVALE_HANDLE(Blip);
BRIMVALE_HANDLE(Cam);
BRIMVALE_HANDLE(Prompt);
BRIMVALE_HANDLE(RelGroup);
BRIMVALE_HANDLE(AnimScene);
BRIMVALE_HANDLE(TaskSequence);
#undef BRIMVALE_HANDLE

// A string owned by the game, made by CreateVarString; passed on as the whole pointer.
enum class DisplayString : uint64_t {};

// A slot the game always receives as 1, whatever the caller passes (the frontend sound's third).
struct AlwaysOne {
  constexpr AlwaysOne(int32_t) {}
};

template <typename T>
concept HandleType = std::is_class_v<T> && requires(T t) {
  { t.id } -> std::convertible_to<int32_t>;
} && sizeof(T) == sizeof(int32_t);

// Packing of one argument into its slot.
template <typename T>
inline uint64_t PackSlot(T value) {
  if constexpr (std::is_same_v<T, bool>) {
    return value ? 1u : 0u;
  } else if constexpr (std::is_same_v<T, float>) {
    return std::bit_cast<uint32_t>(value);
  } else if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<uintptr_t>(value);
  } else if constexpr (std::is_same_v<T, DisplayString>) {
    return static_cast<uint64_t>(value);
  } else if constexpr (std::is_same_v<T, AlwaysOne>) {
    return 1u;
  } else if constexpr (HandleType<T>) {
    return static_cast<uint32_t>(value.id);  // no sign extension: -1 is 0x00000000FFFFFFFF
  } else {
    static_assert(std::is_integral_v<T> && sizeof(T) <= 4, "argument kind without a packing rule");
    return static_cast<uint32_t>(value);
  }
}

template <typename T>
inline void PushArgument(T value) {
  if constexpr (std::is_same_v<T, Vector3>) {
    Hook.nativePush64(PackSlot(value.x));
    Hook.nativePush64(PackSlot(value.y));
    Hook.nativePush64(PackSlot(value.z));
  } else {
    Hook.nativePush64(PackSlot(value));
  }
}

inline float SlotFloat(uint64_t slot) {
  return std::bit_cast<float>(static_cast<uint32_t>(slot));
}

// Reading of the result area by the result kind.
template <typename R>
inline R ReadResult(const uint64_t* slots) {
  if constexpr (std::is_void_v<R>) {
    return;
  } else if constexpr (std::is_same_v<R, bool>) {
    return static_cast<uint32_t>(slots[0]) != 0;
  } else if constexpr (std::is_same_v<R, float>) {
    return SlotFloat(slots[0]);
  } else if constexpr (std::is_same_v<R, Vector3>) {
    return Vector3{SlotFloat(slots[0]), SlotFloat(slots[1]), SlotFloat(slots[2])};
  } else if constexpr (std::is_same_v<R, DisplayString>) {
    return static_cast<DisplayString>(slots[0]);
  } else if constexpr (std::is_pointer_v<R>) {
    return reinterpret_cast<R>(static_cast<uintptr_t>(slots[0]));
  } else if constexpr (HandleType<R>) {
    R handle{};
    handle.id = static_cast<int32_t>(static_cast<uint32_t>(slots[0]));
    return handle;
  } else {
    static_assert(std::is_integral_v<R> && sizeof(R) <= 4, "result kind without a reading rule");
    return static_cast<R>(static_cast<uint32_t>(slots[0]));
  }
}

template <typename R, typename... Args>
inline R InvokeNative(uint64_t hash, Args... args) {
  Hook.nativeInit(hash);
  (PushArgument(args), ...);
  const uint64_t* result = Hook.nativeCall();
  return ReadResult<R>(result);
}

// A native of the catalogue: its hash and its exact parameter types, so that every argument is
// converted to the type the game expects before it is packed (1 becomes 1.0f where a float goes).
template <uint64_t H, typename R, typename... Params>
struct Native {
  static constexpr uint64_t hash = H;
  using Result = R;
  R operator()(Params... args) const { return InvokeNative<R, Params...>(H, args...); }
};

}  // namespace brimvale
