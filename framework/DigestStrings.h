// The class hash framework's own messages, kept under their numbers in the program's string
// table so that the application's table can answer those numbers from here.
#pragma once

#include <string_view>

namespace tolvek::framework {

inline constexpr int kInvalidFormatText = 65430;   // %s stands for the format's short name
inline constexpr int kTooManyBitsText = 65431;     // the bit counter ran out
inline constexpr int kNotInitializedText = 65432;  // data given to a hash that is not computing

// The text of string number `number`, or the empty text for a number the framework does not own.
constexpr std::string_view FrameworkText(int number) {
    switch (number) {
        case kInvalidFormatText:
            return "Input is not an valid %s format.";
        case kTooManyBitsText:
            return "Hash function have to many bits processed";
        case kNotInitializedText:
            return "Hash must be initialized";
        default:
            return {};
    }
}

}  // namespace tolvek::framework
