#pragma once

namespace brimvale {

// The one script function: each pass of its loop is one game frame. Never returns.
void ScriptMain();
// One pass of the loop without the closing wait, so a host or benchmark can drive single frames.
void RunFrame();

}  // namespace brimvale
