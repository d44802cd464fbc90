#include "app/window/Languages.h"

#include "app/hashing/AsciiText.h"

namespace tolvek::window {

int MatchLanguage(std::string_view savedName) {
    const std::string wanted = hashing::AsciiUpper(savedName);
    for (std::size_t position = 0; position < kLanguages.size(); ++position) {
        if (hashing::AsciiUpper(kLanguages[position].written) == wanted) {
            return static_cast<int>(position);
        }
    }
    return kEnglishPosition;
}

}  // namespace tolvek::window
