// Writes the shims that the package installs for every user into a folder laid out as
// /usr/share, each running tolvek-files from the PATH. Run by the build, not installed.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/integration/MenuShims.h"
#include "platform/AtomicFile.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 2) {
        std::fputs("usage: tolvek-shims OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    for (const tolvek::integration::ShimFile& shim :
         tolvek::integration::MenuShims("tolvek-files")) {
        if (!shim.systemWide) {
            continue;
        }
        const fs::path target = fs::path(argv[1]) / shim.relative;
        // The package removes these, not --remove-menus: they go without its mark.
        std::string contents = shim.contents;
        const std::string mark = "# " + std::string(tolvek::integration::kShimMarker) + ".\n";
        contents.erase(contents.find(mark), mark.size());
        fs::create_directories(target.parent_path());
        if (!tolvek::platform::WriteFileAtomically(target, contents)) {
            std::fprintf(stderr, "tolvek-shims: could not write %s\n", target.c_str());
            return 1;
        }
        // Only a user's own service menus need the executable bit; the system's are trusted.
        fs::permissions(target, fs::perms(0644));
    }
    return 0;
}
