#include "app/window/ListGathering.h"

#include <filesystem>
#include <stop_token>
#include <system_error>

#include "app/checks/Audit.h"
#include "app/checks/FolderWalk.h"
#include "app/checks/Sidecar.h"
#include "app/hashing/Hashing.h"
#include "app/window/ListOutput.h"

namespace tolvek::window {

namespace {

using checks::CheckItem;

std::vector<std::string> splitNames(const std::string& names) {
    std::vector<std::string> split;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find('\r', start), names.size());
        if (end > start) {
            split.push_back(names.substr(start, end - start));
        }
        start = end + 1;
    }
    return split;
}

// A list the window would not read whole, which is said as such rather than as a failure to
// open it.
bool tooLargeList(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) &&
           std::filesystem::file_size(path, error) > checks::kLargestListFile && !error;
}

// The list's lines; nothing when `found` says why it was not read.
std::optional<checks::ListItems> readList(const std::string& listPath, FoundRows& found) {
    if (tooLargeList(listPath)) {
        found.tooLargeList = listPath;
        return std::nullopt;
    }
    std::optional<checks::ListItems> items = checks::ReadListFile(listPath);
    if (!items) {
        found.failure = checks::NameForMessage(listPath) + ": " +
                        hashing::EngineMessage(engine::kHashOpenFailed);
    }
    return items;
}

FoundRows listToCheck(const std::string& listPath) {
    FoundRows found;
    if (std::optional<checks::ListItems> items = readList(listPath, found)) {
        found.items = std::move(items->items);
    }
    return found;
}

// Walks `folder` into `found`: each file `addFile` takes, and the folders it could not read.
void walkInto(const std::string& folder, FoundRows& found,
              const std::function<void(const std::string& file)>& addFile,
              const std::stop_token& stop) {
    checks::FolderVisit visit;
    visit.file = [&addFile](const std::string& file) {
        addFile(file);
        return true;
    };
    visit.skipped = [&found](const std::string& skipped, checks::Skipped why, int) {
        if (why == checks::Skipped::Unreadable) {
            found.skippedFolders.push_back(skipped);
        }
    };
    checks::WalkFolder(folder, visit, stop);
}

FoundRows folderAgainstList(const std::string& listPath, const std::string& folder,
                            const std::stop_token& stop) {
    FoundRows found;
    std::optional<checks::ListItems> listed = readList(listPath, found);
    if (!listed) {
        return found;
    }
    const hashing::AlgorithmEntry* algorithm = checks::AuditAlgorithm(*listed);
    found.baseline = AuditBaseline{listPath, std::move(listed->items), algorithm};
    if (algorithm == nullptr) {
        return found;
    }
    // Each file named as the list names its files, which the rows then share.
    std::filesystem::path listFolder = std::filesystem::path(listPath).parent_path();
    listFolder = listFolder.empty() ? "." : listFolder;
    const auto addFile = [&](const std::string& file) {
        bool absolute = false;
        if (!checks::IsListOrItsCopy(file, listPath)) {
            found.items.push_back(
                {0, NameInFolder(file, listFolder, absolute), file, {}, {algorithm}, {}});
        }
    };
    walkInto(folder, found, addFile, stop);
    return found;
}

// A file named by itself with a checksum file beside it that names it (SHA256SUMS, x.iso.md5,
// an SFV list) is checked against that, whatever entries the set hashes with. The files of a
// dropped folder are not looked up: they are hashed as the folder's files.
std::optional<CheckItem> sidecarCheck(
    const std::string& file, const std::vector<const hashing::AlgorithmEntry*>& newFileEntries,
    checks::SidecarLookup& sidecars) {
    const hashing::AlgorithmEntry& preferred =
        newFileEntries.empty() ? hashing::DefaultEntry() : *newFileEntries.front();
    std::optional<checks::SidecarDigest> sidecar =
        sidecars.findAny(file, preferred, hashing::AlgorithmEntries());
    if (!sidecar) {
        return std::nullopt;
    }
    return CheckItem{0, file, file, std::move(sidecar->digest), {sidecar->entry}, {}};
}

// A file that is only hashed has no expected digest; without an entry to hash it with it gives
// no row.
FoundRows droppedName(const std::string& name,
                      const std::vector<const hashing::AlgorithmEntry*>& newFileEntries,
                      checks::SidecarLookup& sidecars, const std::stop_token& stop) {
    FoundRows found;
    const auto addFile = [&](const std::string& file) {
        if (!newFileEntries.empty()) {
            found.items.push_back({0, file, file, {}, newFileEntries, {}});
        }
    };
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) {
        walkInto(name, found, addFile, stop);
    } else if (checks::AlgorithmOfListName(name) != nullptr && tooLargeList(name)) {
        found.tooLargeList = name;
    } else if (std::optional<std::vector<CheckItem>> listed = checks::ListedItems(name)) {
        found.items = std::move(*listed);
    } else if (std::optional<CheckItem> check = sidecarCheck(name, newFileEntries, sidecars)) {
        found.items.push_back(std::move(*check));
    } else {
        addFile(name);
    }
    return found;
}

}  // namespace

FoundRows ListGathering::lookAt(const Request& request, const std::string& name,
                                checks::SidecarLookup& sidecars, const std::stop_token& stop) {
    if (!request.auditedFolder.empty()) {
        return folderAgainstList(name, request.auditedFolder, stop);
    }
    return request.onlyLists ? listToCheck(name)
                             : droppedName(name, request.newFileEntries, sidecars, stop);
}

void ListGathering::gatherDropped(const std::string& names,
                                  std::vector<const hashing::AlgorithmEntry*> newFileEntries) {
    gather({splitNames(names), false, std::move(newFileEntries), {}});
}

void ListGathering::gatherList(const std::string& listPath) {
    gather({{listPath}, true, {}, {}});
}

void ListGathering::gatherAudit(const std::string& listPath, const std::string& folder) {
    gather({{listPath}, true, {}, folder});
}

void ListGathering::gather(Request request) {
    m_waiting.push_back(std::move(request));
    startNext();
}

void ListGathering::startNext() {
    if (m_running || m_waiting.empty()) {
        return;
    }
    m_running = true;
    m_tasks.start([this, next = std::move(m_waiting.front())](std::stop_token stop) {
        // The names of one drop or paste often share a folder and its checksum files.
        checks::SidecarLookup sidecars;
        for (const std::string& name : next.names) {
            FoundRows found = lookAt(next, name, sidecars, stop);
            if (stop.stop_requested()) {
                break;  // a walk cut short lists only some of the folder's files
            }
            m_ui.post([this, found = std::move(found)]() mutable {
                if (!m_cancelled) {
                    m_handlers.found(std::move(found));
                }
            });
        }
        m_ui.post([this] { ended(); });
    });
    m_waiting.pop_front();
    m_handlers.started();
}

void ListGathering::ended() {
    m_running = false;
    m_cancelled = false;
    startNext();
    m_handlers.ended();
}

void ListGathering::cancel() {
    m_waiting.clear();
    if (m_running) {
        m_cancelled = true;
        m_tasks.cancel();
    }
}

}  // namespace tolvek::window
