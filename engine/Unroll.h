// Compile-time loops for the fully unrolled round sequences of the block hashes.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace tolvek::engine {

// Calls body(std::integral_constant<std::size_t, i>{}) for i = 0 .. Count-1 in order, so that
// the body can pick constants, rotation amounts and register names by a constant index.
template <std::size_t Count, class Body>
inline __attribute__((always_inline)) void Unroll(Body&& body) {
    [&]<std::size_t... Index>(std::index_sequence<Index...>) {
        (body(std::integral_constant<std::size_t, Index>{}), ...);
    }(std::make_index_sequence<Count>{});
}

}  // namespace tolvek::engine
