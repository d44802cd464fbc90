#include "tests/support/SystemFiles.h"

#include <fstream>
#include <iterator>

namespace tolvek::testing {

std::string FileContents(const std::filesystem::path& name) {
    std::ifstream file(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace tolvek::testing
