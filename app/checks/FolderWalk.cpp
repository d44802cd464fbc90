#include "app/checks/FolderWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace tolvek::checks {

namespace {

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
    struct Entry {
        std::string name;
        unsigned char type;  // as the folder gave it (DT_REG, DT_DIR, ...; DT_UNKNOWN)
    };

    bool entries(const std::string& folderName) {
        // Each entry keeps the type its folder gave, so that most need no look of their own.
        std::vector<Entry> found;
        if (const int error = read(folderName, found); error != 0) {
            m_visit.skipped(folderName, Skipped::Unreadable, error);
            return true;
        }
        std::ranges::sort(found, {}, &Entry::name);
        const std::string prefix = folderName.ends_with('/') ? folderName : folderName + "/";
        for (const Entry& entry : found) {
            if (m_stop.stop_requested() || !visitEntry(prefix + entry.name, entry.type)) {
                return false;
            }
        }
        return true;
    }

    // The folder's entries but "." and ".."; the system's error number, or 0.
    static int read(const std::string& folderName, std::vector<Entry>& found) {
        const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(folderName.c_str()),
                                                         ::closedir);
        if (!folder) {
            return errno;
        }
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(folder.get());
            if (entry == nullptr) {
                return errno;
            }
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") {
                found.push_back({std::string(name), entry->d_type});
            }
        }
    }

    bool visitEntry(const std::string& name, unsigned char type) {
        switch (type == DT_UNKNOWN ? typeOf(name) : type) {
            case DT_REG:
                return m_visit.file(name);
            case DT_DIR:
                return folder(name);
            case DT_LNK:
                return visitLink(name);
            default:
                return skipNotAFile(name);
        }
    }

    // A link that leads nowhere is visited as a file, so that its failure shows where it is
    // hashed.
    bool visitLink(const std::string& name) {
        struct stat status {};
        if (::stat(name.c_str(), &status) != 0) {
            return m_visit.file(name);
        }
        if (S_ISDIR(status.st_mode)) {
            return m_visit.followLinks ? folder(name) : true;
        }
        return S_ISREG(status.st_mode) ? m_visit.file(name) : skipNotAFile(name);
    }

    bool skipNotAFile(const std::string& name) {
        m_visit.skipped(name, Skipped::NotAFile, 0);
        return true;
    }

    // For a file system whose folders do not tell their entries' types.
    static unsigned char typeOf(const std::string& name) {
        struct stat status {};
        if (::lstat(name.c_str(), &status) != 0) {
            return DT_UNKNOWN;
        }
        return static_cast<unsigned char>(IFTODT(status.st_mode));
    }

    const FolderVisit& m_visit;
    std::stop_token m_stop;
    std::vector<Identity> m_open;
};

}  // namespace

bool WalkFolder(const std::string& folder, const FolderVisit& visit, std::stop_token stop) {
    return Walk(visit, std::move(stop)).folder(folder);
}

}  // namespace tolvek::checks
