// Thunar keeps every custom action of the user in one file, uca.xml; ours are merged into it as
// <action> elements known by their unique id, and taken out again, leaving the user's own
// actions and the file's other text as they were.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvek::integration {

// A uca.xml for a user who has none and whose system offers none.
inline constexpr std::string_view kEmptyUcaFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";

// `ucaXml` without the actions whose unique id begins with kThunarIdPrefix, and with `actions`
// (empty for none) added as the last ones. Nothing when the text has no <actions> element,
// which is then no file to change.
std::optional<std::string> MergeThunarActions(std::string_view ucaXml, std::string_view actions);

}  // namespace tolvek::integration
