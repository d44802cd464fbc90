#include "engine/EngineUtils.h"

namespace tolvek::engine {

std::string HexDigits(std::uint8_t count, std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(count, '0');
    for (auto position = text.rbegin(); position != text.rend(); ++position) {
        *position = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

}  // namespace tolvek::engine
