#include "hook/host.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "hook/plugin_link.h"

namespace brimvale::sim {
namespace {

// How RunFrame leaves the frame loop that LeaveFrameLoop asked to leave; only RunLeavable
// catches it.
struct LeftFrameLoop {};

SimHost* activeHost = nullptr;

template <typename T>
constexpr ArgForm FormOf() {
  if constexpr (std::is_void_v<T>)
    return ArgForm::None;
  else if constexpr (std::is_same_v<T, Hash>)
    return ArgForm::Hash;
  else if constexpr (std::is_same_v<T, bool>)
    return ArgForm::Bool;
  else if constexpr (std::is_same_v<T, float>)
    return ArgForm::Float;
  else if constexpr (std::is_same_v<T, const char*>)
    return ArgForm::String;
  else if constexpr (std::is_pointer_v<T>)
    return ArgForm::Pointer;
  else if constexpr (std::is_same_v<T, DisplayString>)
    return ArgForm::DisplayString;
  else if constexpr (std::is_same_v<T, Vector3>)
    return ArgForm::Vector;
  else if constexpr (HandleType<T>)
    return ArgForm::Handle;
  else
    return ArgForm::Int;
}

template <uint64_t H, typename R, typename... P>
NativeInfo MakeInfo(const char* name, const Native<H, R, P...>&) {
  return NativeInfo{H, name, {FormOf<P>()...}, FormOf<R>()};
}

std::vector<NativeInfo> BuildRegistry() {
  std::vector<NativeInfo> all;
#define BRIMVALE_REGISTER_NATIVE(Name, Hash_, Result, ...) \
  all.push_back(MakeInfo(#Name, brimvale::Name));
  BRIMVALE_NATIVES(BRIMVALE_REGISTER_NATIVE)
#undef BRIMVALE_REGISTER_NATIVE
  return all;
}

const std::unordered_map<uint64_t, const NativeInfo*>& RegistryByHash() {
  static const std::unordered_map<uint64_t, const NativeInfo*> byHash = [] {
    std::unordered_map<uint64_t, const NativeInfo*> map;
    // The first entry of a shared hash names it (CreateVarString before CreateColorString).
    for (const NativeInfo& info : NativeRegistry())
      map.emplace(info.hash, &info);
    return map;
  }();
  return byHash;
}

}  // namespace

SimHost& ActiveHost() {
  if (!activeHost) throw std::logic_error("no simulated host is active");
  return *activeHost;
}

bool HostIsActive() {
  return activeHost != nullptr;
}

Hash GameHash(const char* name) {
  uint32_t h = 0;
  for (const char* p = name; p && *p; ++p) {
    h += static_cast<uint8_t>(std::tolower(static_cast<unsigned char>(*p)));
    h += h << 10;
    h ^= h >> 6;
  }
  h += h << 3;
  h ^= h >> 11;
  h += h << 15;
  return h;
}

const std::vector<NativeInfo>& NativeRegistry() {
  static const std::vector<NativeInfo> registry = BuildRegistry();
  return registry;
}

const NativeInfo* FindNative(uint64_t hash) {
  const auto& byHash = RegistryByHash();
  auto it = byHash.find(hash);
  return it == byHash.end() ? nullptr : it->second;
}

SimHost::SimHost(HostConfig cfg) : config(cfg), callsPerNative_(NativeRegistry().size(), 0) {
  if (activeHost) throw std::logic_error("only one simulated host can be active at a time");
  activeHost = this;
  fibre_ = MakeScriptFibre();
  SetUpWorld();
  RegisterHandlers();
}

SimHost::~SimHost() {
  if (fibre_) fibre_->Stop();
  if (activeHost == this) activeHost = nullptr;
  ReleasePluginLink();
}

void SimHost::SetUpWorld() {
  world = World{};
  // The two multiplayer ped models the plugin dresses; everything else is unknown to the game.
  for (const char* name : {"MP_MALE", "MP_FEMALE"}) {
    ModelState& model = world.models[GameHash(name)];
    model.valid = true;
    model.pedKind = true;
    model.framesToLoad = config.modelLoadFrames;
  }
  world.life.random.engine.seed(config.seed);
  world.player.index = 0;
  world.player.ped =
      world.Spawn(EntityKind::Ped, GameHash("PLAYER_ZERO"), config.playerStart, 0.0f);
  world.models[GameHash("PLAYER_ZERO")] = ModelState{true, true, 0, -1, true};
  SetUpTrainWorld(*this);
  SetUpMissionWorld(world, config);
}

void SimHost::LoadPlugin() {
  if (loaded_) UnloadPlugin();
  std::srand(config.seed);
  pluginModule_ = LoadPluginModule(*this);
  loaded_ = pluginModule_ != nullptr;
}

size_t SimHost::ModuleSlot(void* module) {
  for (size_t i = 0; i < moduleCalls_.size(); ++i) {
    if (moduleCalls_[i].first == module) return i;
  }
  moduleCalls_.emplace_back(module, 0);
  return moduleCalls_.size() - 1;
}

int64_t SimHost::CallsFromModule(void* module) const {
  for (const auto& [m, calls] : moduleCalls_) {
    if (m == module) return calls;
  }
  return 0;
}

void SimHost::StopScript() {
  fibre_->Stop();
  script_ = nullptr;
  scriptStarted_ = false;
}

void SimHost::AdoptPluginModule(void* module) {
  pluginModule_ = module;
  loaded_ = module != nullptr;
}

void SimHost::UnloadPlugin() {
  if (!loaded_) return;
  fibre_->Stop();
  UnloadPluginModule(pluginModule_);
  pluginModule_ = nullptr;
  loaded_ = false;
}

bool SimHost::ScriptRunning() const {
  return fibre_->Running();
}

void SimHost::RunFrame() {
  ++frame_;
  config.faults.BeginFrame(*this, frame_);
  strings_[1].swap(strings_[0]);
  strings_[0].clear();
  world.justPressed.clear();
  for (const auto& press : pendingPresses_)
    world.justPressed.insert(press);
  pendingPresses_.clear();

  if (script_ && !scriptStarted_) {
    ScriptFunction fn = script_;
    fibreSlot_ = ModuleSlot(module_);
    fibre_->Start([fn] { fn(); });
    scriptStarted_ = true;
    wakeAtMs_ = timeMs_;
  }
  if (fibre_->Running() && timeMs_ >= wakeAtMs_) fibre_->Resume();

  // Resources requested this frame or earlier move one frame closer to loaded.
  for (auto& [hash, model] : world.models) {
    if (model.framesLeft > 0 && --model.framesLeft == 0) model.loaded = true;
  }
  EndFrameUi(*this);
  EndFrameScene(*this);
  EndFrameCamera(*this);
  EndFrameTrain(*this);
  EndFrameShop(*this);
  EndFrameMission(*this);
  timeMs_ += config.frameMs;
  if (onFrameEnd) onFrameEnd(*this);
  if (leaveFrameLoop_ && leavable_ > 0) throw LeftFrameLoop{};
}

void SimHost::RunFrames(int count) {
  for (int i = 0; i < count; ++i)
    RunFrame();
}

bool SimHost::RunUntil(const std::function<bool()>& done, int maxFrames) {
  for (int i = 0; i < maxFrames; ++i) {
    RunFrame();
    if (done()) return true;
  }
  return false;
}

bool SimHost::RunLeavable(const std::function<void()>& frames) {
  if (std::exchange(leaveFrameLoop_, false)) return true;
  ++leavable_;
  try {
    frames();
  } catch (const LeftFrameLoop&) {
    --leavable_;
    leaveFrameLoop_ = false;
    return true;
  }
  --leavable_;
  return false;
}

bool SimHost::RunScript(std::function<void()> body, int maxFrames) {
  fibre_->Stop();
  fibreSlot_ = 0;  // a test's own script, not a module's
  fibre_->Start(std::move(body));
  scriptStarted_ = true;
  wakeAtMs_ = timeMs_;
  return RunUntil([this] { return !fibre_->Running(); }, maxFrames);
}

void SimHost::Press(const char* control, int32_t pad) {
  Tell({PlayerInput::Kind::Press, control, pad});
  pendingPresses_.emplace_back(pad, GameHash(control));
}

void SimHost::SendKey(uint32_t key, int32_t isWithAlt, int32_t wasDownBefore, int32_t isUpNow) {
  if (keyboard_) keyboard_(key, 1, 0, 0, isWithAlt, wasDownBefore, isUpNow);
}

void SimHost::MovePlayer(Vector3 to) {
  Tell({PlayerInput::Kind::Move, {}, 0, 0, to});
  world.PlayerEntity().position = to;
}

Vector3 SimHost::PlayerPosition() {
  return world.PlayerEntity().position;
}

const char* SimHost::GameString(std::string text) {
  strings_[0].push_back(std::move(text));
  return strings_[0].back().c_str();
}

std::vector<const TraceEntry*> SimHost::CallsOf(uint64_t hash) const {
  std::vector<const TraceEntry*> calls;
  for (const TraceEntry& entry : trace_) {
    if (entry.hash == hash) calls.push_back(&entry);
  }
  return calls;
}

void SimHost::HookScriptRegister(void* module, ScriptFunction fn) {
  hookLog_.push_back("scriptRegister");
  module_ = module;
  script_ = fn;
}

void SimHost::HookScriptUnregister(void*) {
  hookLog_.push_back("scriptUnregister");
  StopScript();
}

void SimHost::HookKeyboardRegister(KeyboardHandler handler) {
  hookLog_.push_back("keyboardHandlerRegister");
  keyboard_ = handler;
}

void SimHost::HookKeyboardUnregister(KeyboardHandler) {
  hookLog_.push_back("keyboardHandlerUnregister");
  keyboard_ = nullptr;
}

void SimHost::HookScriptWait(uint32_t ms) {
  // A wait of 0 lasts until the next frame; a longer one until at least ms have passed.
  wakeAtMs_ = timeMs_ + ms;
  fibre_->Yield();
}

void SimHost::HookNativeInit(uint64_t hash) {
  // Slots past argCount read as zero, so the old arguments need no clearing.
  call_.hash = hash;
  call_.argCount = 0;
  for (uint64_t& slot : resultArea_)
    slot = 0;  // the last call's result is gone
  call_.result = resultArea_;
}

void SimHost::HookNativePush(uint64_t slot) {
  if (call_.argCount < kMaxArgSlots) call_.args[call_.argCount++] = slot;
}

uint64_t* SimHost::HookNativeCall() {
  ++nativeCalls_;
  ++moduleCalls_[fibreSlot_].second;
  const Route& route = RouteOf(call_.hash);
  const NativeInfo* info = route.info;
  TraceEntry* entry = nullptr;
  if (config.trace) {
    trace_.push_back(TraceEntry{});
    entry = &trace_.back();
    entry->frame = frame_;
    entry->hash = call_.hash;
    entry->name = info ? info->name : "unknown";
    entry->args.assign(call_.args, call_.args + call_.argCount);
    if (info) {
      int slot = 0;
      for (ArgForm form : info->forms) {
        if (form == ArgForm::String || form == ArgForm::DisplayString)
          entry->strings.emplace_back(call_.Str(slot));
        slot += form == ArgForm::Vector ? 3 : 1;
      }
    }
  }
  if (info) ++callsPerNative_[static_cast<size_t>(info - NativeRegistry().data())];
  if (!info) {
    unknown_.push_back(call_.hash);
  } else if (config.faults.Refuses(call_.hash, frame_)) {
    // A failed call: nothing happens in the world and the result stays zero.
  } else if (route.handler) {
    (*route.handler)(*this, call_);
  }
  if (entry) {
    // The handler may have grown the trace (it never calls natives, but be safe).
    TraceEntry& done = trace_.back();
    for (int i = 0; i < 3; ++i)
      done.result[i] = resultArea_[i];
    if (info && info->result == ArgForm::DisplayString && resultArea_[0] != 0)
      done.resultText = reinterpret_cast<const char*>(static_cast<uintptr_t>(resultArea_[0]));
  }
  return resultArea_;
}

const SimHost::Route& SimHost::RouteOf(uint64_t hash) {
  // Direct-mapped by the hash's top bits after a multiplicative mix; a clash only costs a look-up.
  Route& route = routes_[(hash * 0x9E3779B97F4A7C15ull) >> (64 - kRouteBits)];
  if (route.known && route.hash == hash) return route;
  route.hash = hash;
  route.known = true;
  routesUsed_ = true;
  route.info = FindNative(hash);
  const auto it = handlers_.find(hash);
  route.handler = it == handlers_.end() ? nullptr : &it->second;
  return route;
}

void SimHost::ForgetRoutes() {
  if (!std::exchange(routesUsed_, false)) return;
  for (size_t i = 0; i < kRouteSlots; ++i)
    routes_[i] = Route{};
}

uint64_t* SimHost::HookGlobalPtr(int32_t index) {
  std::vector<uint64_t>& global = world.globals[index];
  if (global.size() < 64) global.resize(64, 0);
  return global.data();
}

uint32_t SimHost::PlatformTickCount() {
  return 100000u + static_cast<uint32_t>(timeMs_);
}

void SimHost::PlatformFreeConsole() {
  hookLog_.push_back("FreeConsole");
}

void SimHost::RegisterHandlers() {
  RegisterCoreNatives(*this);
  RegisterModelNatives(*this);
  RegisterUiNatives(*this);
  RegisterBlipNatives(*this);
  RegisterLookNatives(*this);
  RegisterSceneNatives(*this);
  RegisterCameraNatives(*this);
  RegisterProgressionNatives(*this);
  RegisterTrainNatives(*this);
  RegisterMenuNatives(*this);
  RegisterMissionNatives(*this);
}

}  // namespace brimvale::sim
