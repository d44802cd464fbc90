#include "tests/support/SystemFiles.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace tolvek::testing {

std::string FileContents(const std::filesystem::path& name) {
    std::ifstream file(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::size_t CachedPages(const std::string& name) {
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    ::fdatasync(descriptor);
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(name));
    void* const mapping = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, descriptor, 0);
    ::close(descriptor);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident((size + pageSize - 1) / pageSize);
    ::mincore(mapping, size, resident.data());
    ::munmap(mapping, size);
    return static_cast<std::size_t>(
        std::ranges::count_if(resident, [](unsigned char page) { return (page & 1) != 0; }));
}

std::string CommandOutput(const std::string& command) {
    std::string output;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    char buffer[4096];
    for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
        output.append(buffer, got);
    }
    return output;
}

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

}  // namespace tolvek::testing
