// The search for a file's expected digest in the checksum files beside it, over a folder the
// input makes: the file's name, its own sidecars "<name>.sha256" and "<name>.crc32sum", a
// SHA256SUMS, CRC32SUMS and an .sfv list, each with the input's bytes. Whatever is found is a
// digest of the entry's width as the window shows it, from one of those files.
#include <filesystem>

#include "app/checks/Sidecar.h"
#include "app/hashing/AlgorithmTable.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// A file name made of the input's bytes: no "/" nor NUL, not "." or "..", not empty.
std::string fileNameOf(std::string text) {
    std::erase(text, '/');
    if (text.empty() || text == "." || text == "..") {
        text = "file";
    }
    return text.substr(0, 200);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvek;
    static const tolvek::testing::TempFolder root;
    const std::vector<std::string> parts = fuzz::PartsOf(fuzz::TextOf(data, size), 6);
    const std::string name = fileNameOf(parts[0]);
    const fs::path folder = root.path() / "case";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    const fs::path file = root.write("case/" + name, "abc");
    const std::string lists[] = {name + ".sha256", name + ".crc32sum", "SHA256SUMS", "CRC32SUMS",
                                 "files.sfv"};
    for (std::size_t index = 0; index < std::size(lists); ++index) {
        if (index + 1 < parts.size() && lists[index] != name) {
            root.write("case/" + lists[index], parts[index + 1]);
        }
    }
    for (const char* id : {"sha256", "crc32"}) {
        const hashing::AlgorithmEntry& entry = *hashing::FindAlgorithm(id);
        const std::optional<checks::SidecarDigest> found = checks::FindSidecarDigest(file, entry);
        if (found) {
            fuzz::Expect(found->digest.size() == entry.digestBytes(),
                         "the digest is as long as the algorithm's");
            fuzz::Expect(found->source.parent_path() == folder, "it comes from beside the file");
        }
    }
    return 0;
}
