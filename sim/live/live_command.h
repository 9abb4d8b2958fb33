// `brimvale-sim live`: plays the game in real time and serves it to a browser.
#pragma once

namespace brimvale::sim {

// argv holds the options after "live"; returns the exit status.
int RunLiveCommand(int argc, char** argv);

}  // namespace brimvale::sim
