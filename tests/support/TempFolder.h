// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tolvek::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Writes `contents` to a file of that name in the folder and gives its full name.
    std::string write(const std::string& name, const std::string& contents) const;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // Writes a sparse file of `size` bytes: zeros, then `lastByte`; gives its full name.
    std::string writeSparse(const std::string& name, std::int64_t size, char lastByte) const;

private:
    std::filesystem::path m_path;
};

}  // namespace tolvek::testing
