// sha.lng: the saved language and algorithm position, two lines of Windows-1252 text with CR LF
// line ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvek::window {

inline constexpr std::string_view kLanguageFileName = "sha.lng";

struct LanguageFileLines {
    std::string language;  // line 1: a written language name
    std::string position;  // line 2: the algorithm position as decimal text
};

// The file's bytes: the written name, CR LF, the position in decimal ("-1" for no selection),
// CR LF.
std::string FormatLanguageFile(std::string_view writtenName, int algorithmPosition);

// Lines 1 and 2 of the file's bytes. A line ends at a line feed, a carriage return before it
// is dropped; a missing line is empty; anything after line 2 is ignored.
LanguageFileLines ParseLanguageFile(std::string_view contents);

// The integer value of line 2: an optional "-" or "+", then the decimal digits up to the
// first other byte; 0 without digits; nothing ahead of the sign is skipped. Values beyond the
// range of int are clamped to it.
int PositionValue(std::string_view line);

// Reading and saving the file, which has one place at a time: beside the executable while that
// folder can be written and is not an installed copy's PREFIX/bin (IsInstalledCopy), else in
// the user's configuration folder. While the configuration folder holds no file yet, the
// executable folder's own file, if any, is read instead.
// Problems never stop the program: a file that cannot be read gives empty lines, a save that
// cannot be made is skipped.
class LanguageFile {
public:
    // `configFolder` may be empty (the user has none); saves beside a read-only executable are
    // then skipped.
    LanguageFile(std::filesystem::path executableFolder, std::filesystem::path configFolder);

    LanguageFileLines read() const;

    // Replaces the file atomically (WriteFileAtomically); false when the save was skipped.
    bool write(std::string_view writtenName, int algorithmPosition) const;

private:
    std::filesystem::path savedName() const;
    std::filesystem::path readName() const;

    std::filesystem::path m_executableFolder;
    std::filesystem::path m_configFolder;
};

}  // namespace tolvek::window
