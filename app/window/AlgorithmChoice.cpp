#include "app/window/AlgorithmChoice.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/LineReader.h"

namespace tolvek::window {

namespace {

// Far more than every entry's id once; a larger file is not ours.
constexpr std::uint64_t kLargestChoiceFile = 64 * 1024;

}  // namespace

std::vector<const hashing::AlgorithmEntry*> ReadAlgorithmChoice(const std::filesystem::path& file) {
    std::vector<const hashing::AlgorithmEntry*> entries;
    std::optional<platform::LineReader> lines =
        platform::OpenSmallTextFile(file.string(), kLargestChoiceFile);
    if (!lines) {
        return entries;
    }
    for (std::string id; lines->next(id);) {
        const hashing::AlgorithmEntry* entry = hashing::FindAlgorithm(id);
        if (entry != nullptr && std::ranges::find(entries, entry) == entries.end()) {
            entries.push_back(entry);
        }
    }
    return entries;
}

bool SaveAlgorithmChoice(const std::filesystem::path& file,
                         const std::vector<const hashing::AlgorithmEntry*>& entries) {
    std::string contents;
    for (const hashing::AlgorithmEntry* entry : entries) {
        contents.append(entry->id).push_back('\n');
    }
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    return platform::WriteFileAtomically(file, contents);
}

}  // namespace tolvek::window
