#include "app/hashing/GroupedFiles.h"

#include <algorithm>

namespace tolvek::hashing {

namespace {

// The memory a group holds at most before it is hashed: many times what one pass of the lanes
// takes, so that they stay full but for the group's last few files.
constexpr std::size_t kMostGroupedBytes = std::size_t{2} << 20;
// The largest file held: a larger one's own system calls cost little beside hashing it, and a few
// such files would fill the group. BLAKE3's lanes still beat its one-message hash at this size
// (3.7 against 3.4 GB/s in memory on AVX2), whose last chunk runs alone.
constexpr std::size_t kMostGroupedFileBytes = std::size_t{64} << 10;

bool hashesMany(const AlgorithmEntry* algorithm) {
    return algorithm->manyMessages != nullptr;
}

std::size_t wholePages(std::size_t bytes) {
    return (bytes + platform::kReadAlignment - 1) / platform::kReadAlignment *
           platform::kReadAlignment;
}

}  // namespace

bool GroupedFiles::Gains(std::span<const AlgorithmEntry* const> algorithms) {
    return std::ranges::any_of(algorithms, hashesMany);
}

std::span<std::uint8_t> GroupedFiles::scratch() {
    if (m_memory.data() == nullptr) {
        m_memory = platform::ReadBuffer(m_control.tuning.chunkBytes + kMostGroupedBytes);
    }
    return m_memory.bytes().subspan(m_held);
}

void GroupedFiles::add(FileContent content, std::span<const AlgorithmEntry* const> algorithms,
                       const ContentHash& hash) {
    const auto bytes = content.wholeBytes();
    if (!bytes || bytes->size() > kMostGroupedFileBytes) {
        hash(content, m_control);
        return;
    }
    // A file read to its end past its size of 0 may have memory of its own.
    if (!bytes->empty() && bytes->data() == scratch().data()) {
        m_held += wholePages(bytes->size());
    }
    m_files.push_back({std::move(content), algorithms, &hash});
    if (m_held >= kMostGroupedBytes) {
        hashAll();
    }
}

void GroupedFiles::hashAll() {
    std::vector<const AlgorithmEntry*> algorithms;
    for (const File& file : m_files) {
        for (const AlgorithmEntry* algorithm : file.algorithms) {
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
        (*file.hash)(file.content, m_control);
    }
    m_files.clear();
    m_held = 0;
}

void GroupedFiles::hashTogether(const AlgorithmEntry& algorithm) {
    std::vector<File*> files;
    std::vector<engine::MessageBytes> messages;
    for (File& file : m_files) {
        if (std::ranges::find(file.algorithms, &algorithm) != file.algorithms.end()) {
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
