// The entries of the language list: the name shown, the block of the string table, and the
// name saved in sha.lng.
#pragma once

#include <array>
#include <string_view>

namespace tolvek::window {

struct Language {
    std::string_view shown;    // entry of the list (UTF-8)
    int block;                 // the LanguageBase this entry selects
    std::string_view written;  // line 1 of sha.lng, in Windows-1252 bytes
};

inline constexpr int kEnglishPosition = 0;

// In list order. Five written names are in capitals, the others as shown; the accented letters
// are single Windows-1252 bytes: ê 0xEA, ç 0xE7 (written in octal, \347, because a hex escape
// would swallow the "a" after it), ñ 0xF1.
inline constexpr std::array<Language, 12> kLanguages = {{
    {"English", 1000, "ENGLISH"},
    {"Deutsch", 0, "DEUTSCH"},
    {"Português-Brasil", 2000, "Portugu\xEAs-Brasil"},
    {"Français", 3000, "Fran\347ais"},
    {"Italiano", 4000, "ITALIANO"},
    {"Español", 5000, "Espa\xF1ol"},
    {"Simplified Chinese", 6000, "Simplified Chinese"},
    {"Croatian", 7000, "Croatian"},
    {"Russian", 8000, "Russian"},
    {"Nederlands", 9000, "NEDERLANDS"},
    {"Danish", 10000, "Danish"},
    {"FOR_TRANSLATE", 11000, "FOR_TRANSLATE"},
}};

// The list position whose written name equals `savedName` after both are upper-cased in ASCII
// (accented bytes keep their case); English when none does.
int MatchLanguage(std::string_view savedName);

}  // namespace tolvek::window
