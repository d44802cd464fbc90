// A thread's memory for the files of a sequence it reads whole, and the small ones among them held
// there together, so that the algorithms that hash many messages in one call (MD5 and SHA-1,
// sixteen at a time in vector lanes; BLAKE3, their chunks in lanes) work out the digests their
// tasks ask for all of them at once; each task then hashes its file as it would alone, taking
// those digests instead of feeding the bytes again.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "app/hashing/AlgorithmTable.h"
#include "app/hashing/FileReader.h"
#include "platform/ReadBuffer.h"

namespace tolvek::hashing {

// Hashes a file's content under a control, as FileTask::hash does.
using ContentHash = std::function<void(FileContent& content, const ReadControl& control)>;

class GroupedFiles {
public:
    // `control` is what each file is hashed under; it outlives the group.
    explicit GroupedFiles(const ReadControl& control) : m_control(control) {}
    GroupedFiles(const GroupedFiles&) = delete;
    GroupedFiles& operator=(const GroupedFiles&) = delete;

    // Whether a file whose hash asks for `algorithms` gains from being held with others.
    static bool Gains(std::span<const AlgorithmEntry* const> algorithms);

    // Where the next file is read whole: memory no file held uses, a chunk of the control's
    // tuning at least.
    std::span<std::uint8_t> scratch();

    // Holds a small file read whole into scratch(), with the `algorithms` its `hash` asks for
    // (both kept until hashAll); any other content is hashed at once. A group that holds many
    // bytes is hashed as it grows.
    void add(FileContent content, std::span<const AlgorithmEntry* const> algorithms,
             const ContentHash& hash);
    // Hashes every file held, each through its hash, and holds none any more.
    void hashAll();

private:
    struct File {
        FileContent content;
        std::span<const AlgorithmEntry* const> algorithms;
        const ContentHash* hash;
    };

    void hashTogether(const AlgorithmEntry& algorithm);

    const ReadControl& m_control;
    // A chunk for the next file after the files held, each of which starts on a page boundary.
    platform::ReadBuffer m_memory;
    std::size_t m_held = 0;  // the bytes of m_memory the files held take
    std::vector<File> m_files;
};

}  // namespace tolvek::hashing
