// How tolvek-cli names files in its messages on standard error, and why a file failed.
#pragma once

#include <string>
#include <string_view>

namespace tolvek::cli {

// A name as the shell would need it, as the coreutils tools show names in their error
// messages: as it is when nothing in it is special, else in quotes ('a b', "it's"), control
// bytes as $'\n'.
std::string QuotedName(std::string_view name);

// "tolvek-cli: NAME: REASON" with the system's reason for `systemError` ("No such file or
// directory"), or `fallback` when the system gave none.
std::string FileError(std::string_view name, int systemError, std::string_view fallback);

}  // namespace tolvek::cli
