// What the fuzz targets share: a failed expectation ends the run with a message, which libFuzzer
// reports as a crash and keeps the input of.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvek::fuzz {

inline void Expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The input's bytes as text.
inline std::string_view TextOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at NUL bytes into at most `most` parts, the last holding the rest.
inline std::vector<std::string> PartsOf(std::string_view text, std::size_t most) {
    std::vector<std::string> parts;
    while (parts.size() + 1 < most) {
        const std::size_t end = text.find('\0');
        if (end == std::string_view::npos) {
            break;
        }
        parts.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    parts.emplace_back(text);
    return parts;
}

}  // namespace tolvek::fuzz
