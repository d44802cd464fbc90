// The program's numbered texts: twelve language blocks (0, 1000, ..., 11000) of fifteen window
// texts and the groups of TextGroups.h after them, the translators' two markers around the
// template block, and the class hash framework's messages.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "app/window/TextGroups.h"
#include "framework/DigestStrings.h"

namespace tolvek::window {

inline constexpr int kTextsPerBlock = 15;
inline constexpr int kBlockStride = 1000;
inline constexpr int kTemplateBlock = 11000;
inline constexpr int kTemplateEndMarker = 11999;
inline constexpr int kFirstFrameworkText = framework::kInvalidFormatText;
inline constexpr int kLastFrameworkText = framework::kNotInitializedText;

// The text numbered `id` (UTF-8), or nothing when the table holds no such number.
std::optional<std::string> StringTableText(int id);

// The groups after the fifteen window texts, in number order.
std::span<const TextGroup* const> TextGroupsAfterTheFifteen();

}  // namespace tolvek::window
