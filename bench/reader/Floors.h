// The least any tool must do to hash from files on this machine, whatever its hash: the floors
// that tolvek-cli's figures are set against (see bench/README.md).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvek::bench {

// `bytes` of the cached file `name` on every core at chunk sizes 64 KiB .. 4 MiB: preads alone,
// each followed by one pass over the bytes, and that pass over a mapping of the file instead.
int copiesReport(int rounds, const std::string& name, std::uint64_t bytes);

// Every file under `folders` on every core, opened within its folder and read whole: with a
// status call on the open file, and with a look at the name before the open instead.
int filesReport(int rounds, const std::vector<std::string>& folders);

}  // namespace tolvek::bench
