#include "app/integration/ThunarActions.h"

#include "app/integration/MenuShims.h"

namespace tolvek::integration {

namespace {

constexpr std::string_view kActionStart = "<action>";
constexpr std::string_view kActionEnd = "</action>";
constexpr std::string_view kRootEnd = "</actions>";
constexpr std::string_view kEmptyRoot = "<actions/>";

// The start of the line that `at` is on, when only blanks stand before it there.
std::size_t lineStartBefore(const std::string& text, std::size_t at) {
    std::size_t start = at;
    while (start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t')) {
        --start;
    }
    return start == 0 || text[start - 1] == '\n' ? start : at;
}

// Removes each <action> element holding one of our unique ids, with its line's indent and end.
void removeOurActions(std::string& text) {
    const std::string ourId = "<unique-id>" + std::string(kThunarIdPrefix);
    std::size_t from = 0;
    while ((from = text.find(kActionStart, from)) != std::string::npos) {
        const std::size_t end = text.find(kActionEnd, from);
        if (end == std::string::npos) {
            return;
        }
        std::size_t after = end + kActionEnd.size();
        if (text.substr(from, after - from).find(ourId) == std::string::npos) {
            from = after;
            continue;
        }
        if (after < text.size() && text[after] == '\n') {
            ++after;
        }
        from = lineStartBefore(text, from);
        text.erase(from, after - from);
    }
}

}  // namespace

std::optional<std::string> MergeThunarActions(std::string_view ucaXml, std::string_view actions) {
    std::string text(ucaXml);
    std::size_t rootEnd = text.rfind(kRootEnd);
    if (rootEnd == std::string::npos) {
        const std::size_t emptyRoot = text.rfind(kEmptyRoot);
        if (emptyRoot == std::string::npos) {
            return std::nullopt;
        }
        text.replace(emptyRoot, kEmptyRoot.size(), "<actions>\n</actions>");
    }
    removeOurActions(text);
    rootEnd = text.rfind(kRootEnd);
    text.insert(lineStartBefore(text, rootEnd), actions);
    return text;
}

}  // namespace tolvek::integration
