// The roots of many messages' trees from their chunks' chaining values: the parents of every tree
// at one level are hashed together, so that trees of a few chunks each still fill the lanes.
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/Blake3.h"
#include "engine/ShaConstants.h"

namespace tolvek::engine::blake3 {

namespace {

// A tree still being joined: its values at the current level, and where its digest goes.
struct Tree {
    std::uint8_t* level;
    std::size_t count;
    std::uint8_t* digest;
};

// Parents over the pairs of values laid out one after the other, in place: parent i takes
// bytes [64 i, 64 i + 64) and goes to [32 i, 32 i + 32).
void hashParents(std::vector<std::uint8_t>& pairs, std::uint32_t flags) {
    ChainingValue iv;
    std::copy_n(kSha256InitialValues.begin(), iv.size(), iv.begin());
    HashMany(iv, pairs.data(), pairs.size() / kBlockSize, 1, 0, false, kParent | flags, 0, 0,
             pairs.data());
}

}  // namespace

// Pairs of neighbours are joined level by level, an odd last value rising as it is: the tree
// whose left subtrees are complete (section 2.1). A tree's last pair is its root.
void JoinChunkValues(std::span<const std::span<const std::uint8_t>> messages,
                     std::uint8_t* chunkValues, std::uint8_t* digests) {
    std::vector<Tree> trees;
    for (const std::span<const std::uint8_t> message : messages) {
        const std::size_t count = ChunkCount(message.size());
        if (count == 1) {
            std::memcpy(digests, chunkValues, 32);
        } else {
            trees.push_back({chunkValues, count, digests});
        }
        chunkValues += 32 * count;
        digests += 32;
    }
    std::vector<std::uint8_t> pairs;
    std::vector<std::uint8_t> roots;
    while (!trees.empty()) {
        pairs.clear();
        roots.clear();
        for (const Tree& tree : trees) {
            std::vector<std::uint8_t>& into = tree.count == 2 ? roots : pairs;
            into.insert(into.end(), tree.level, tree.level + 32 * (tree.count / 2 * 2));
        }
        hashParents(pairs, 0);
        hashParents(roots, kRoot);
        const std::uint8_t* parent = pairs.data();
        const std::uint8_t* root = roots.data();
        for (Tree& tree : trees) {
            const std::size_t parents = tree.count / 2;
            if (tree.count == 2) {
                std::memcpy(tree.digest, std::exchange(root, root + 32), 32);
                tree.count = 0;
                continue;
            }
            if (tree.count % 2 != 0) {
                std::memmove(tree.level + 32 * parents, tree.level + 64 * parents, 32);
            }
            std::memcpy(tree.level, std::exchange(parent, parent + 32 * parents), 32 * parents);
            tree.count -= parents;
        }
        std::erase_if(trees, [](const Tree& tree) { return tree.count == 0; });
    }
}

}  // namespace tolvek::engine::blake3
