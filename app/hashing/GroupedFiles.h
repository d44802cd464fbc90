// The small files of a batch held together once read whole, so that the algorithms that hash
// many messages in one call (MD5 and SHA-1, sixteen at a time in vector lanes) work out the digests
// their tasks ask for all of them at once; each task then hashes its file as it would alone,
// taking those digests instead of feeding the bytes again.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileSequence.h"

namespace tolvek::hashing {

class GroupedFiles {
public:
    // `control` is what each task hashes under; it outlives the group.
    explicit GroupedFiles(const ReadControl& control) : m_control(control) {}
    GroupedFiles(const GroupedFiles&) = delete;
    GroupedFiles& operator=(const GroupedFiles&) = delete;

    // Whether a task that asks for `algorithms` gains from its file being grouped. Such a file
    // must be read into memory of its own, since it is held until the group is hashed.
    static bool Gains(std::span<const AlgorithmEntry* const> algorithms);

    // Holds a file read whole with its task; any other content is hashed at once. A group that
    // holds many bytes is hashed as it grows.
    void add(FileContent content, const FileTask& task);
    // Hashes every file held, each through its task, and holds none any more.
    void hashAll();

private:
    struct File {
        FileContent content;
        const FileTask* task;
    };

    void hashTogether(const AlgorithmEntry& algorithm);

    const ReadControl& m_control;
    std::vector<File> m_files;
    std::size_t m_bytes = 0;
};

}  // namespace tolvek::hashing
