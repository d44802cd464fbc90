// The round shape BLAKE2 and BLAKE3 share: the quarter-round over the four columns of the 4x4
// state, then over its four diagonals, each taking two message words in the round's order.
#pragma once

#include <array>
#include <cstdint>

namespace tolvek::engine {

// `mix(a, b, c, d, x, y)` is the quarter-round on state words a, b, c, d with message words x
// and y; `s` is the round's message word order.
template <class Words, class Mix>
[[gnu::always_inline]] inline void MixColumnsThenDiagonals(const Words& m,
                                                           const std::array<std::uint8_t, 16>& s,
                                                           Mix&& mix) {
    mix(0, 4, 8, 12, m[s[0]], m[s[1]]);
    mix(1, 5, 9, 13, m[s[2]], m[s[3]]);
    mix(2, 6, 10, 14, m[s[4]], m[s[5]]);
    mix(3, 7, 11, 15, m[s[6]], m[s[7]]);
    mix(0, 5, 10, 15, m[s[8]], m[s[9]]);
    mix(1, 6, 11, 12, m[s[10]], m[s[11]]);
    mix(2, 7, 8, 13, m[s[12]], m[s[13]]);
    mix(3, 4, 9, 14, m[s[14]], m[s[15]]);
}

}  // namespace tolvek::engine
