#include "app/window/Languages.h"

#include "app/hashing/AsciiText.h"

namespace tolvek::app {

int MatchLanguage(std::string_view savedName) {
    const std::string wanted = digest::AsciiUpper(savedName);
    for (std::size_t position = 0; position < kLanguages.size(); ++position) {
        if (digest::AsciiUpper(kLanguages[position].written) == wanted) {
            return static_cast<int>(position);
        }
    }
    return kEnglishPosition;
}

}  // namespace tolvek::app
