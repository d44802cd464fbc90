// Compile-time loops for the fully unrolled round sequences of the block hashes.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace tolvek::engine {

template <class Body, std::size_t... Index>
[[gnu::always_inline]] inline void UnrollIndexed(Body& body, std::index_sequence<Index...>) {
    (body(std::integral_constant<std::size_t, Index>{}), ...);
}

// Calls body(std::integral_constant<std::size_t, i>{}) for i = 0 .. Count-1 in order, so that
// the body can pick constants, rotation amounts and register names by a constant index. The
// function that holds the loop is best marked [[gnu::flatten]] so that every step is inlined.
template <std::size_t Count, class Body>
[[gnu::always_inline]] inline void Unroll(Body&& body) {
    UnrollIndexed(body, std::make_index_sequence<Count>{});
}

}  // namespace tolvek::engine
