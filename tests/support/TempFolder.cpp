#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace tolvek::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvek-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_path = buffer.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Give back write permission first so that read-only test files and folders go too.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::write(const std::string& name, const std::string& contents) const {
    const std::string fileName = file(name);
    std::filesystem::create_directories(std::filesystem::path(fileName).parent_path());
    std::ofstream stream(fileName, std::ios::binary);
    stream.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!stream) {
        throw std::runtime_error("cannot write " + fileName);
    }
    return fileName;
}

std::string TempFolder::writeSparse(const std::string& name, std::int64_t size,
                                    char lastByte) const {
    const std::string fileName = file(name);
    std::ofstream stream(fileName, std::ios::binary);
    stream.seekp(size - 1);
    stream.put(lastByte);
    if (!stream) {
        throw std::runtime_error("cannot write " + fileName);
    }
    return fileName;
}

}  // namespace tolvek::testing
