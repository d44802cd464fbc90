// One Keccak-f[1600] round written once over the lane type, for the portable path (64-bit
// integers) and the AVX-512 path (one lane per vector register, three-input logic). Internal
// linkage on purpose: each path's file compiles its own copy with its own instruction-set flags.
#pragma once

#include <cstddef>

#include "engine/KeccakConstants.h"
#include "engine/Unroll.h"

namespace tolvek::engine::keccak {
namespace {  // NOLINT(google-build-namespaces): see above

// `Ops` gives, over `Lane`: xor2(a, b), xor3(a, b, c), chi(a, b, c) = a ^ (~b & c),
// rotl<count>(a), and Lanes<n>, the array type of the round's temporaries (std::array keeps the
// scalar lanes in registers best; a vector type keeps its alignment only in a plain array). `a`
// is any 25 lanes indexed by x + 5y.
template <class Ops, class Lanes, class Lane>
[[gnu::always_inline]] inline void round(Lanes& a, Lane roundConstant) {
    typename Ops::template Lanes<5> column;
    Unroll<5>([&](auto x) {
        column[x] = Ops::xor3(Ops::xor3(a[x], a[x + 5], a[x + 10]), a[x + 15], a[x + 20]);
    });
    typename Ops::template Lanes<25> b;
    Unroll<5>([&](auto x) {
        const Lane theta =
            Ops::xor2(column[(x + 4) % 5], Ops::template rotl<1>(column[(x + 1) % 5]));
        Unroll<5>([&](auto y) {
            // rho rotates lane (x, y); pi moves it to (y, 2x + 3y).
            constexpr unsigned kOffset = kRotationOffsets[x + 5 * y];
            b[y + 5 * ((2 * x + 3 * y) % 5)] =
                Ops::template rotl<kOffset>(Ops::xor2(a[x + 5 * y], theta));
        });
    });
    Unroll<5>([&](auto y) {
        Unroll<5>([&](auto x) {
            a[x + 5 * y] = Ops::chi(b[x + 5 * y], b[(x + 1) % 5 + 5 * y], b[(x + 2) % 5 + 5 * y]);
        });
    });
    a[0] = Ops::xor2(a[0], roundConstant);
}

}  // namespace
}  // namespace tolvek::engine::keccak
