#include "cli/FileTree.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <ostream>
#include <utility>

#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

namespace fs = std::filesystem;

using Identity = std::pair<dev_t, ino_t>;

class Walk {
public:
    Walk(const TreeOptions& options, const std::function<bool(const std::string&, bool)>& visit,
         std::ostream& errors)
        : m_options(options), m_visit(visit), m_errors(errors) {}

    // False once `visit` asked to stop.
    bool argument(const std::string& name) {
        if (m_options.recursive && fs::is_directory(fs::path(name), m_ignored)) {
            return folder(name);
        }
        return m_visit(name, true);
    }

    bool readable() const { return m_readable; }

private:
    bool folder(const std::string& name) {
        struct stat status {};
        if (::stat(name.c_str(), &status) != 0) {
            return m_visit(name, false);
        }
        const Identity identity{status.st_dev, status.st_ino};
        if (std::ranges::find(m_open, identity) != m_open.end()) {
            m_errors << "tolvek-cli: " << QuotedName(name)
                     << ": skipped, a folder that holds itself\n";
            return true;
        }
        m_open.push_back(identity);
        const bool going = entries(name);
        m_open.pop_back();
        return going;
    }

    bool entries(const std::string& folderName) {
        // Each entry keeps the type its folder gave, so that most need no look of their own.
        std::vector<std::pair<std::string, fs::directory_entry>> found;
        std::error_code error;
        for (fs::directory_iterator it(folderName, error), end; !error && it != end;
             it.increment(error)) {
            found.emplace_back(it->path().filename().string(), *it);
        }
        if (error) {
            m_errors << FileError(folderName, error.value(), error.message());
            m_readable = false;
            return true;
        }
        std::ranges::sort(found, {},
                          [](const auto& named) -> const std::string& { return named.first; });
        const std::string prefix = folderName.ends_with('/') ? folderName : folderName + "/";
        for (const auto& [name, entry] : found) {
            if (!visitEntry(prefix + name, entry)) {
                return false;
            }
        }
        return true;
    }

    bool visitEntry(const std::string& name, const fs::directory_entry& entry) {
        const bool link = entry.is_symlink(m_ignored);
        if (entry.is_directory(m_ignored)) {
            return link && !m_options.followLinks ? true : folder(name);
        }
        // A link that leads nowhere is hashed, so that its failure is reported.
        if (entry.is_regular_file(m_ignored) || (link && !entry.exists(m_ignored))) {
            return m_visit(name, false);
        }
        m_errors << "tolvek-cli: " << QuotedName(name) << ": skipped, not a regular file\n";
        return true;
    }

    const TreeOptions& m_options;
    const std::function<bool(const std::string&, bool)>& m_visit;
    std::ostream& m_errors;
    std::vector<Identity> m_open;
    std::error_code m_ignored;
    bool m_readable = true;
};

}  // namespace

bool VisitFiles(const std::vector<std::string>& arguments, const TreeOptions& options,
                const std::function<bool(const std::string& name, bool named)>& visit,
                std::ostream& errors) {
    Walk walk(options, visit, errors);
    for (const std::string& argument : arguments) {
        if (!walk.argument(argument)) {
            break;
        }
    }
    return walk.readable();
}

}  // namespace tolvek::cli
