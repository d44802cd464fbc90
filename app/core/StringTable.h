// The program's numbered texts: twelve language blocks of fifteen window texts and ten progress
// texts (numbers block + 1 to block + 25, blocks 0, 1000, ..., 11000), the translators' two
// markers around the template block, and the class hash framework's messages.
#pragma once

#include <optional>
#include <string>

#include "framework/DigestStrings.h"

namespace tolvek::app {

inline constexpr int kTextsPerBlock = 15;
// Texts 16 to 25 of every block: the progress display's words ("%1 of %2", "%1 left", "Cancel",
// "Cancelled", the five byte units and the decimal separator).
inline constexpr int kProgressTextsPerBlock = 10;
inline constexpr int kBlockStride = 1000;
inline constexpr int kTemplateBlock = 11000;
inline constexpr int kTemplateEndMarker = 11999;
inline constexpr int kFirstFrameworkText = framework::kInvalidFormatText;
inline constexpr int kLastFrameworkText = framework::kNotInitializedText;

// Longest text LoadText hands out, in bytes; every text of the table fits.
inline constexpr std::size_t kLongestText = 254;

// The text numbered `id` (UTF-8), or nothing when the table holds no such number.
std::optional<std::string> StringTableText(int id);

}  // namespace tolvek::app
