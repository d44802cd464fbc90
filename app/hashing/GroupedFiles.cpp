#include "app/hashing/GroupedFiles.h"

#include <algorithm>

namespace tolvek::hashing {

namespace {

// The bytes a group holds at most before it is hashed: many times what one pass of the lanes
// takes, so that they stay full but for the group's last few files.
constexpr std::size_t kMostGroupedBytes = std::size_t{2} << 20;

bool hashesMany(const AlgorithmEntry* algorithm) {
    return algorithm->manyMessages != nullptr;
}

bool asks(const FileTask& task, const AlgorithmEntry& algorithm) {
    return std::ranges::find(task.algorithms, &algorithm) != task.algorithms.end();
}

}  // namespace

bool GroupedFiles::Gains(std::span<const AlgorithmEntry* const> algorithms) {
    return std::ranges::any_of(algorithms, hashesMany);
}

void GroupedFiles::add(FileContent content, const FileTask& task) {
    const auto bytes = content.wholeBytes();
    if (!bytes) {
        task.hash(content, m_control);
        return;
    }
    m_bytes += bytes->size();
    m_files.push_back({std::move(content), &task});
    if (m_bytes >= kMostGroupedBytes) {
        hashAll();
    }
}

void GroupedFiles::hashAll() {
    std::vector<const AlgorithmEntry*> algorithms;
    for (const File& file : m_files) {
        for (const AlgorithmEntry* algorithm : file.task->algorithms) {
            if (hashesMany(algorithm) &&
                std::ranges::find(algorithms, algorithm) == algorithms.end()) {
                algorithms.push_back(algorithm);
            }
        }
    }
    for (const AlgorithmEntry* algorithm : algorithms) {
        hashTogether(*algorithm);
    }
    for (File& file : m_files) {
        file.task->hash(file.content, m_control);
    }
    m_files.clear();
    m_bytes = 0;
}

void GroupedFiles::hashTogether(const AlgorithmEntry& algorithm) {
    std::vector<File*> files;
    std::vector<engine::MessageBytes> messages;
    for (File& file : m_files) {
        if (asks(*file.task, algorithm)) {
            files.push_back(&file);
            messages.push_back(*file.content.wholeBytes());
        }
    }
    const std::size_t digestBytes = algorithm.digestBytes();
    std::vector<std::uint8_t> digests(messages.size() * digestBytes);
    algorithm.manyMessages(messages, digests.data());
    for (std::size_t index = 0; index < files.size(); ++index) {
        const auto digest = digests.begin() + static_cast<std::ptrdiff_t>(index * digestBytes);
        files[index]->content.keepDigest(
            algorithm.fileRoute, Digest(digest, digest + static_cast<std::ptrdiff_t>(digestBytes)));
    }
}

}  // namespace tolvek::hashing
