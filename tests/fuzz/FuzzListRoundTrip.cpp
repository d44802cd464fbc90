// A line written for any name and digest reads back as that name and digest: the GNU form in
// text and binary mode and the BSD form, names escaped as sha256sum escapes them.
#include "app/checks/ChecksumList.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvek;
    constexpr std::size_t kLengths[] = {4, 16, 20, 32, 64};
    if (size < 1) {
        return 0;
    }
    // The first byte picks the digest's length and bytes, the rest is the name.
    const std::size_t bytes = kLengths[data[0] % std::size(kLengths)];
    hashing::Digest digest(bytes);
    for (std::size_t index = 0; index < bytes; ++index) {
        digest[index] = static_cast<std::uint8_t>(data[0] * 7 + index * 13);
    }
    const std::string name(fuzz::TextOf(data + 1, size - 1));
    if (name.empty()) {
        return 0;  // a line needs a name
    }
    const std::string lines[] = {
        checks::FormatGnuLine(digest, name, checks::GnuMode::Text),
        checks::FormatGnuLine(digest, name, checks::GnuMode::Binary),
        checks::FormatBsdLine("SHA256", digest, name),
    };
    for (const std::string& line : lines) {
        fuzz::Expect(line.find('\n') == std::string::npos, "a written line is one line");
        const checks::ChecksumLine read = checks::ReadChecksumLine(line, kLengths);
        fuzz::Expect(read.digest == digest, "the digest reads back");
        fuzz::Expect(read.name == name, "the name reads back");
    }
    return 0;
}
