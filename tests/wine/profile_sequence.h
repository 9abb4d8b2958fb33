// One sequence of profile reads and writes over hand-made files, run through whichever backend
// the program links (kernel32 under Wine, or the portable one) into a transcript that the
// differential test compares line by line.
#pragma once

#include <ostream>

namespace brimvale::differential {

// Plays every case in the current directory (one file per case, `separator` between directory
// and file name as the platform writes it) and writes the transcript to `out`:
//   case <name>
//   <operation> -> <result>        one line per read or write
//   file -> <bytes, escaped>       or "file -> none"
void RunProfileSequence(const char* separator, std::ostream& out);

}  // namespace brimvale::differential
