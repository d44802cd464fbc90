// How tolvek-cli names files in its messages on standard error, and why a file failed.
#pragma once

#include <string>
#include <string_view>

namespace tolvek::cli {

// The name the messages begin with: "tolvek-cli", or the tool's name it was called through.
std::string_view ProgramName();
// Set once at the start of a run, before anything is written.
void SetProgramName(std::string_view name);
// "NAME: ", the start of every message.
std::string MessagePrefix();

// A name as the shell would need it, as the coreutils tools show names in their error
// messages: as it is when nothing in it is special, else in quotes ('a b', "it's"), control
// bytes as $'\n'.
std::string QuotedName(std::string_view name);

// "tolvek-cli: NAME: REASON" (the program's name as ProgramName gives it) with the system's reason for `systemError` ("No such file or
// directory"), or `fallback` when the system gave none.
std::string FileError(std::string_view name, int systemError, std::string_view fallback);

}  // namespace tolvek::cli
