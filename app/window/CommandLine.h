// Splitting a raw command line into arguments. POSIX hands the program its arguments already
// split (argv); this rule serves raw command lines, as one string, from other sources.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvek::window {

// The arguments of `commandLine`, argument 0 (the program as typed) first. Bytes 0x01 to 0x20
// and empty pairs of double quotes separate arguments; an argument runs up to the next byte
// below 0x21 outside double quotes, so a quoted stretch may hold spaces; when an argument
// longer than one byte begins and ends with a double quote, that one pair is removed and inner
// quotes stay. A zero byte ends the command line.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace tolvek::window
