// The seam between the host and the script: the plugin's ScriptMain runs on a script fibre that
// the host resumes once per frame and that hands control back at every scriptWait.
#pragma once

#include <functional>
#include <memory>

// winbase.h defines a macro Yield that would rename the fibre's own.
#ifdef Yield
#undef Yield
#endif

namespace brimvale::sim {

// Thrown inside the script when the host stops it, so its stack unwinds cleanly.
struct ScriptStopped {};

class ScriptFibre {
 public:
  virtual ~ScriptFibre() = default;
  // Prepares the fibre to run `body`; nothing runs until the first Resume.
  virtual void Start(std::function<void()> body) = 0;
  // Runs the script until it yields or ends; returns false once it has ended.
  virtual bool Resume() = 0;
  // Called on the script side: hands control back to the host until the next Resume.
  virtual void Yield() = 0;
  // Unwinds the script's stack (the pending Yield throws ScriptStopped) and waits for it.
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
};

// The script fibre of this platform: a Win32 fibre on Windows, as the real hook runs scripts, and
// elsewhere a context of its own on the host's thread (swapcontext).
std::unique_ptr<ScriptFibre> MakeScriptFibre();

}  // namespace brimvale::sim
