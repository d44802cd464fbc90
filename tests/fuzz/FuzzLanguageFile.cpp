// sha.lng of any bytes, read from a file as the program reads it at start: the same two lines as
// the bytes parse to (each kept to its first 4096 bytes), and a position within int's range.
#include <fstream>

#include "app/window/LanguageFile.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/TempFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvek;
    constexpr std::size_t kLineLimit = 4096;
    static const testing::TempFolder folder;
    const std::string_view bytes = fuzz::TextOf(data, size);
    std::ofstream(folder.file("sha.lng"), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    const window::LanguageFileLines read = window::LanguageFile(folder.path(), {}).read();
    const window::LanguageFileLines parsed = window::ParseLanguageFile(bytes);
    for (const auto& [fromFile, fromBytes] :
         {std::pair{read.language, parsed.language}, std::pair{read.position, parsed.position}}) {
        fuzz::Expect(fromFile.find('\n') == std::string::npos, "a line holds no line feed");
        // The file's line is cut before its CR LF is looked at, so only whole lines compare.
        if (fromBytes.size() < kLineLimit) {
            fuzz::Expect(fromFile == fromBytes, "the file reads as its bytes parse");
        }
    }
    const int position = window::PositionValue(read.position);
    fuzz::Expect(read.position.find_first_of("123456789") != std::string::npos || position == 0,
                 "no digits read as 0");
    return 0;
}
