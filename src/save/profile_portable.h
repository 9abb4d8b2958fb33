// The two halves of a portable profile write, apart so that a test can stop between them as a
// crash would: the whole new text goes to a temporary file beside the save, which is then renamed
// over it. Until the rename the old file is untouched.
#pragma once

#include <string>
#include <string_view>

namespace brimvale {

// Where the new text of `path` is written before it replaces the file.
std::string ProfileTempPath(const char* path);

// Writes and flushes `text` as the temporary file of `path`, replacing any left by an earlier
// crash.
bool WriteProfileTemp(const char* path, std::string_view text);

}  // namespace brimvale
