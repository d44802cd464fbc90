#include "app/core/AlgorithmTable.h"

#include <algorithm>
#include <array>

#include "app/core/EngineProvider.h"
#include "app/core/FrameworkProvider.h"
#include "framework/DigestHashMD4.h"
#include "framework/DigestHashPanama.h"
#include "framework/DigestHashWhirlpool.h"

namespace tolvek::app {

namespace {

using namespace tolvek::engine;

const EngineProvider kMd2{HashTypeMD2};
const EngineProvider kMd4{HashTypeMD4};
const EngineProvider kMd5{HashTypeMD5};
const EngineProvider kSha1{HashTypeSHA1};
const EngineProvider kSha256{HashTypeSHA256};
const EngineProvider kSha384{HashTypeSHA384};
const EngineProvider kSha512{HashTypeSHA512};
const FrameworkProvider kFrameworkMd5{framework::ClassOf<framework::THash_MD5>};
const FrameworkProvider kPanama{framework::ClassOf<framework::THash_Panama>};
const FrameworkProvider kWhirlpool{framework::ClassOf<framework::THash_Whirlpool>};
const FrameworkProvider kWhirlpool1{framework::ClassOf<framework::THash_Whirlpool1>};
const FrameworkProvider kRipemd256{framework::ClassOf<framework::THash_RipeMD256>};
const FrameworkProvider kRipemd320{framework::ClassOf<framework::THash_RipeMD320>};

// clang-format off
const std::array kEntries = {
    AlgorithmEntry{"md2",    "MD2",    0, kMd2,    kMd2},
    AlgorithmEntry{"md4",    "MD4",    1, kMd4,    kMd4},
    AlgorithmEntry{"md5",    "MD5",    2, kFrameworkMd5, kMd5},
    AlgorithmEntry{"sha1",   "SHA1",   3, kSha1,   kSha1},
    AlgorithmEntry{"sha256", "SHA256", 4, kSha256, kSha256},
    AlgorithmEntry{"sha384", "SHA384", 5, kSha384, kSha384},
    AlgorithmEntry{"sha512", "SHA512", 6, kSha512, kSha512},
    AlgorithmEntry{"panama", "Panama", 22, kPanama, kPanama},
    AlgorithmEntry{"whirlpool", "Whirlpool", 23, kWhirlpool, kWhirlpool},
    AlgorithmEntry{"whirlpool1", "Whirlpool 1", 24, kWhirlpool1, kWhirlpool1},
    AlgorithmEntry{"ripemd256", "RIPE MD 256 bit", 28, kRipemd256, kRipemd256},
    AlgorithmEntry{"ripemd320", "RIPE MD 320 bit", 29, kRipemd320, kRipemd320},
};
// clang-format on

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
    const auto lower = [](char character) {
        return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                     : character;
    };
    return std::ranges::equal(left, right, {}, lower, lower);
}

}  // namespace

std::span<const AlgorithmEntry> AlgorithmEntries() { return kEntries; }

const AlgorithmEntry* AlgorithmAt(int position) {
    const auto found = std::ranges::find(kEntries, position, &AlgorithmEntry::position);
    return found != kEntries.end() ? &*found : nullptr;
}

const AlgorithmEntry* FindAlgorithm(std::string_view name) {
    const auto found = std::ranges::find_if(kEntries, [&](const AlgorithmEntry& entry) {
        return equalIgnoringAsciiCase(entry.id, name) || equalIgnoringAsciiCase(entry.caption, name);
    });
    return found != kEntries.end() ? &*found : nullptr;
}

}  // namespace tolvek::app
