// The simulated host: it plays the script hook (registration, the script fibre, scriptWait,
// native calls by hash, script globals) and the game (a small world that natives read and
// change). Time advances only through frames, and a run is deterministic for a given seed.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/native/hook.h"
#include "core/native/natives.h"
#include "hook/faults.h"
#include "hook/fibre.h"
#include "world/world.h"

namespace brimvale::sim {

class SimHost;
// The host the hook's operations go to; only one exists at a time.
SimHost& ActiveHost();
bool HostIsActive();

// The game's name hash: one-at-a-time over the lower-cased name.
Hash GameHash(const char* name);

// How a parameter or result slot reads: Hash is a 32-bit name hash, None a void result.
enum class ArgForm { Int, Bool, Float, String, Pointer, Handle, DisplayString, Vector, Hash, None };

struct NativeInfo {
  uint64_t hash = 0;
  const char* name = "";
  std::vector<ArgForm> forms;  // one per parameter (a Vector3 parameter takes three slots)
  ArgForm result = ArgForm::None;
};

// The catalogue as the host knows it: every native the plugin may call, by hash.
const NativeInfo* FindNative(uint64_t hash);
const std::vector<NativeInfo>& NativeRegistry();

inline constexpr int kMaxArgSlots = 32;
inline constexpr int kResultSlots = 8;

struct NativeCall {
  uint64_t hash = 0;
  uint64_t args[kMaxArgSlots] = {};
  int argCount = 0;
  uint64_t* result = nullptr;

  uint64_t Slot(int i) const { return i < argCount ? args[i] : 0; }
  int32_t Int(int i) const { return static_cast<int32_t>(static_cast<uint32_t>(Slot(i))); }
  uint32_t UInt(int i) const { return static_cast<uint32_t>(Slot(i)); }
  bool Bool(int i) const { return UInt(i) != 0; }
  float Float(int i) const { return SlotFloat(Slot(i)); }
  // A C string argument; a null pointer reads as empty.
  const char* Str(int i) const {
    const char* s = reinterpret_cast<const char*>(static_cast<uintptr_t>(Slot(i)));
    return s ? s : "";
  }
  template <typename T>
  T* Ptr(int i) const {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(Slot(i)));
  }
  Vector3 Vec(int i) const { return {Float(i), Float(i + 1), Float(i + 2)}; }

  void ReturnInt(int32_t v) const { result[0] = static_cast<uint32_t>(v); }
  void ReturnUInt(uint32_t v) const { result[0] = v; }
  void ReturnBool(bool v) const { result[0] = v ? 1 : 0; }
  void ReturnFloat(float v) const { result[0] = std::bit_cast<uint32_t>(v); }
  void ReturnPtr(const void* p) const { result[0] = reinterpret_cast<uintptr_t>(p); }
  void ReturnVector(Vector3 v) const {
    result[0] = std::bit_cast<uint32_t>(v.x);
    result[1] = std::bit_cast<uint32_t>(v.y);
    result[2] = std::bit_cast<uint32_t>(v.z);
  }
};

struct TraceEntry {
  int64_t frame = 0;
  uint64_t hash = 0;
  const char* name = "";  // the role name, or "unknown"
  std::vector<uint64_t> args;
  // The C-string and display-string arguments in order, read at call time.
  std::vector<std::string> strings;
  uint64_t result[3] = {};
  std::string resultText;  // the text of a display string the call returned

  int32_t Int(size_t i) const {
    return i < args.size() ? static_cast<int32_t>(static_cast<uint32_t>(args[i])) : 0;
  }
  uint32_t UInt(size_t i) const { return i < args.size() ? static_cast<uint32_t>(args[i]) : 0; }
  float Float(size_t i) const { return i < args.size() ? SlotFloat(args[i]) : 0.0f; }
};

// What the scripted player does to the game between frames, as a recording keeps it: a control
// pressed, the player moved, a control held, or one of the player's actions on the world.
struct PlayerInput {
  enum class Kind {
    Press,
    Move,
    Hold,
    Release,
    KnockDown,
    Kill,
    Loot,
    PickUp,
    PutDown,
    EnterVehicle,
    LeaveVehicle,
    DrawWeapon,
    SetMoney,
    KillPlayer,
    SeenBy,
    CommitCrime
  };
  Kind kind = Kind::Press;
  std::string name;    // the control or weapon
  int32_t pad = 0;     // Press
  int32_t target = 0;  // the ped, body or vehicle acted on; SetMoney: the cents
  Vector3 at{};        // Move, CommitCrime
};

struct HostConfig {
  uint32_t seed = 1;
  double frameMs = 1000.0 / 30.0;
  int modelLoadFrames = 3;     // frames a requested model takes to load
  int textureLoadFrames = 2;   // frames a requested texture dictionary takes to load
  int animDictLoadFrames = 2;  // frames a requested animation dictionary takes to load
  Vector3 playerStart{0.0f, 0.0f, 0.0f};
  bool trace = true;
  FaultPlan faults;  // none unless a test asks for them
  // What the game timer reads at game time 0; it counts on from there and rolls over at 2^31 as
  // the game's does (tests: a wait across the wrap).
  int32_t timerStartMs = 0;
};

class SimHost {
 public:
  using Handler = std::function<void(SimHost&, const NativeCall&)>;

  explicit SimHost(HostConfig config = {});
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // A fresh load of the library: every subsystem back to its state at load, then the entry
  // point's attach (a LoadLibrary of the plugin on Windows). Unload stops the script (unwinding
  // its stack) and runs the detach.
  void LoadPlugin();
  void UnloadPlugin();

  // The loaded plugin's module (what the load returned), and how many native calls the script
  // registered by a module made: an unloaded build must call nothing more.
  void* PluginModule() const { return pluginModule_; }
  int64_t CallsFromModule(void* module) const;
  // For a reload between frames: the script stops (its stack unwound) and is forgotten, then
  // the host takes the module the reload attached as the plugin's.
  void StopScript();
  void AdoptPluginModule(void* module);

  // One game frame: presses take effect, the script runs if its wait is over, resources load,
  // the draw list is completed and the timer advances.
  void RunFrame();
  void RunFrames(int count);
  // Runs frames until `done` holds (tested after each frame); false if `maxFrames` ran out.
  bool RunUntil(const std::function<bool()>& done, int maxFrames);

  // Leaving the frame loop: the frame-end callback asks with LeaveFrameLoop (the live game's
  // restart, stop, or the viewer taking the keys back), and whatever runs frames under
  // RunLeavable is left once that frame is complete, even the scripted player deep in one of its
  // waits. The host unwinds it with an exception of its own, thrown at the end of RunFrame and
  // caught only in RunLeavable: the player's segments wait in nested loops that could not all
  // be taught to stop, nor run on without acting after the viewer took over.
  void LeaveFrameLoop() { leaveFrameLoop_ = true; }
  // Runs `frames`; true when they were left (or a leave was asked before they began).
  bool RunLeavable(const std::function<void()>& frames);

  // Runs `body` on the script fibre in place of the plugin's script, frame by frame, until it
  // returns; false if it was still running after `maxFrames`.
  bool RunScript(std::function<void()> body, int maxFrames = 100000);

  // A control pressed on the next frame that runs, on the given pad.
  void Press(const char* control, int32_t pad);
  // A keyboard message delivered to the registered handler, as the hook's input thread would.
  void SendKey(uint32_t key, int32_t isWithAlt, int32_t wasDownBefore, int32_t isUpNow);

  void MovePlayer(Vector3 to);
  Vector3 PlayerPosition();

  // Registers the handler of one native of the catalogue.
  template <uint64_t H, typename R, typename... P>
  void On(const Native<H, R, P...>&, Handler handler) {
    handlers_[H] = std::move(handler);
    ForgetRoutes();
  }

  // A string owned by the game for the rest of this frame and the next.
  const char* GameString(std::string text);

  World world;
  HostConfig config;

  int64_t Frame() const { return frame_; }
  int32_t GameTime() const { return static_cast<int32_t>(timeMs_); }
  int32_t GameTimer() const {
    return static_cast<int32_t>(static_cast<uint32_t>(config.timerStartMs) +
                                static_cast<uint32_t>(GameTime()));
  }
  bool ScriptRunning() const;

  const std::vector<TraceEntry>& Trace() const { return trace_; }
  void ClearTrace() { trace_.clear(); }
  // Calls of one native in the trace, in order.
  template <uint64_t H, typename R, typename... P>
  std::vector<const TraceEntry*> Calls(const Native<H, R, P...>&) const {
    return CallsOf(H);
  }
  std::vector<const TraceEntry*> CallsOf(uint64_t hash) const;
  const std::vector<uint64_t>& UnknownNatives() const { return unknown_; }
  // Every native call since the host was made, traced or not.
  int64_t NativeCalls() const { return nativeCalls_; }
  // The calls of each native of the catalogue since the host was made, traced or not, by its
  // place in NativeRegistry().
  const std::vector<int64_t>& CallsPerNative() const { return callsPerNative_; }
  // Called at the end of every frame, once the draw list is complete (the playthrough's
  // recorder watches the game here).
  std::function<void(SimHost&)> onFrameEnd;
  // Told each input the player gives between frames (a recording listens here).
  std::function<void(const PlayerInput&)> onPlayerInput;
  void Tell(const PlayerInput& input) {
    if (onPlayerInput) onPlayerInput(input);
  }
  // The hook and platform operations the plugin made, in order ("scriptRegister", "FreeConsole",
  // ...).
  const std::vector<std::string>& HookLog() const { return hookLog_; }

  // The hook's side of the plugin's calls; public for the hook table's trampolines.
  void HookScriptRegister(void* module, ScriptFunction fn);
  void HookScriptUnregister(void* module);
  void HookKeyboardRegister(KeyboardHandler handler);
  void HookKeyboardUnregister(KeyboardHandler handler);
  void HookScriptWait(uint32_t ms);
  void HookNativeInit(uint64_t hash);
  void HookNativePush(uint64_t slot);
  uint64_t* HookNativeCall();
  uint64_t* HookGlobalPtr(int32_t index);
  uint32_t PlatformTickCount();
  void PlatformFreeConsole();

 private:
  void SetUpWorld();
  void RegisterHandlers();
  size_t ModuleSlot(void* module);

  // What a hash leads to, found once: a frame makes hundreds of calls of a few dozen natives, and
  // two map look-ups a call were a fifth of a replay's time.
  struct Route {
    uint64_t hash = 0;
    bool known = false;  // filled in for this hash
    const NativeInfo* info = nullptr;
    const Handler* handler = nullptr;
  };
  static constexpr int kRouteBits = 10;
  static constexpr size_t kRouteSlots = size_t{1} << kRouteBits;
  const Route& RouteOf(uint64_t hash);
  void ForgetRoutes();

  std::unordered_map<uint64_t, Handler> handlers_;
  std::unique_ptr<Route[]> routes_ = std::make_unique<Route[]>(kRouteSlots);
  bool routesUsed_ = false;  // the handlers registered at set-up have nothing to forget
  std::unique_ptr<ScriptFibre> fibre_;
  ScriptFunction script_ = nullptr;
  KeyboardHandler keyboard_ = nullptr;
  void* module_ = nullptr;        // the module the script was registered with
  void* pluginModule_ = nullptr;  // what the load returned, for the unload
  bool loaded_ = false;
  bool scriptStarted_ = false;
  // Native calls by the module whose script runs on the fibre; the slot of the running script.
  std::vector<std::pair<void*, int64_t>> moduleCalls_{{nullptr, 0}};
  size_t fibreSlot_ = 0;

  bool leaveFrameLoop_ = false;
  int leavable_ = 0;  // RunLeavable calls under way
  int64_t frame_ = 0;
  double timeMs_ = 0.0;
  double wakeAtMs_ = 0.0;
  std::vector<std::pair<int32_t, Hash>> pendingPresses_;

  NativeCall call_;
  uint64_t resultArea_[kResultSlots] = {};
  std::vector<TraceEntry> trace_;
  std::vector<uint64_t> unknown_;
  int64_t nativeCalls_ = 0;
  std::vector<int64_t> callsPerNative_;
  std::vector<std::string> hookLog_;
  std::deque<std::string> strings_[2];  // game strings of this frame and the last
};

// The handlers of each part of the game world, one registration function per file.
void RegisterCoreNatives(SimHost& host);
// Models load some frames after they are asked for; the player's model is switched by setting it
// or through the model globals.
void RegisterModelNatives(SimHost& host);
void RegisterUiNatives(SimHost& host);
void RegisterBlipNatives(SimHost& host);
void RegisterLookNatives(SimHost& host);
void RegisterSceneNatives(SimHost& host);
void RegisterCameraNatives(SimHost& host);
void RegisterProgressionNatives(SimHost& host);
void RegisterTrainNatives(SimHost& host);
// The trains on the line, the models of the robbery and the player's weapons at the start.
void SetUpTrainWorld(SimHost& host);
void RegisterMenuNatives(SimHost& host);
void RegisterMissionNatives(SimHost& host);

// End-of-frame work of the parts of the world that change over time (loading, the draw list).
void EndFrameUi(SimHost& host);
void EndFrameScene(SimHost& host);
void EndFrameCamera(SimHost& host);
void EndFrameTrain(SimHost& host);
void EndFrameShop(SimHost& host);
void EndFrameMission(SimHost& host);

// The mission models the game knows.
void SetUpMissionWorld(World& world, const HostConfig& config);
// A task given to ped 0 while a task sequence is open becomes its next step; false otherwise.
bool AddToOpenSequence(World& world, int32_t ped, const SimTask& task);
// The ped's task and sequence end (the game's own ClearPedTasks, a fall).
void ClearMissionTasks(World& world, int32_t ped);

}  // namespace brimvale::sim
