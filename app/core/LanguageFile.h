// sha.lng: the saved language and algorithm position, two lines of Windows-1252 text with CR LF
// line ends, kept beside the executable or, when that folder cannot be written, in the user's
// configuration folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tolvek::app {

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

// Reading and saving the file. Problems never stop the program: a file that cannot be read
// gives empty lines, a save that cannot be made is skipped.
class LanguageFile {
public:
    LanguageFile(std::filesystem::path executableFolder, std::filesystem::path configFolder);

    // From the first of the two folders (see foldersInOrder) that holds a readable file.
    LanguageFileLines read() const;

    // Replaces the file atomically in the first folder where that succeeds; false when
    // neither could be written.
    bool write(std::string_view writtenName, int algorithmPosition) const;

private:
    // The executable's folder first while it can be written, else the configuration folder
    // first, so that a read-only installation's own file never hides the user's saves.
    std::vector<std::filesystem::path> foldersInOrder() const;

    std::filesystem::path m_executableFolder;
    std::filesystem::path m_configFolder;
};

}  // namespace tolvek::app
