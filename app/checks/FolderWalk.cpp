#include "app/checks/FolderWalk.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

namespace tolvek::checks {

namespace {

namespace fs = std::filesystem;

using Identity = std::pair<dev_t, ino_t>;

class Walk {
public:
    Walk(const FolderVisit& visit, std::stop_token stop)
        : m_visit(visit), m_stop(std::move(stop)) {}

    // False once the walk was ended.
    bool folder(const std::string& name) {
        struct stat status {};
        if (::stat(name.c_str(), &status) != 0) {
            return m_visit.file(name);
        }
        const Identity identity{status.st_dev, status.st_ino};
        if (std::ranges::find(m_open, identity) != m_open.end()) {
            m_visit.skipped(name, Skipped::HoldsItself, 0);
            return true;
        }
        m_open.push_back(identity);
        const bool going = entries(name);
        m_open.pop_back();
        return going;
    }

private:
    bool entries(const std::string& folderName) {
        // Each entry keeps the type its folder gave, so that most need no look of their own.
        std::vector<std::pair<std::string, fs::directory_entry>> found;
        std::error_code error;
        for (fs::directory_iterator it(folderName, error), end; !error && it != end;
             it.increment(error)) {
            found.emplace_back(it->path().filename().string(), *it);
        }
        if (error) {
            m_visit.skipped(folderName, Skipped::Unreadable, error.value());
            return true;
        }
        std::ranges::sort(found, {},
                          [](const auto& named) -> const std::string& { return named.first; });
        const std::string prefix = folderName.ends_with('/') ? folderName : folderName + "/";
        for (const auto& [name, entry] : found) {
            if (m_stop.stop_requested() || !visitEntry(prefix + name, entry)) {
                return false;
            }
        }
        return true;
    }

    bool visitEntry(const std::string& name, const fs::directory_entry& entry) {
        const bool link = entry.is_symlink(m_ignored);
        if (entry.is_directory(m_ignored)) {
            return link && !m_visit.followLinks ? true : folder(name);
        }
        if (entry.is_regular_file(m_ignored) || (link && !entry.exists(m_ignored))) {
            return m_visit.file(name);
        }
        m_visit.skipped(name, Skipped::NotAFile, 0);
        return true;
    }

    const FolderVisit& m_visit;
    std::stop_token m_stop;
    std::vector<Identity> m_open;
    std::error_code m_ignored;
};

}  // namespace

bool WalkFolder(const std::string& folder, const FolderVisit& visit, std::stop_token stop) {
    return Walk(visit, std::move(stop)).folder(folder);
}

}  // namespace tolvek::checks
