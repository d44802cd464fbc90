#include "app/core/AlgorithmTable.h"

#include <algorithm>
#include <array>

#include "app/core/ChecksumProvider.h"
#include "app/core/EngineProvider.h"

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
const ChecksumProvider kCrc32{FileChecksum::Crc32};
const ChecksumProvider kCrc16{FileChecksum::Crc16Xmodem};
const ChecksumProvider kCrc16Arc{FileChecksum::Crc16Arc};

// clang-format off
const std::array kEntries = {
    AlgorithmEntry{"md2",    "MD2",    0, kMd2,    kMd2},
    AlgorithmEntry{"md4",    "MD4",    1, kMd4,    kMd4},
    AlgorithmEntry{"md5",    "MD5",    2, kMd5,    kMd5},
    AlgorithmEntry{"sha1",   "SHA1",   3, kSha1,   kSha1},
    AlgorithmEntry{"sha256", "SHA256", 4, kSha256, kSha256},
    AlgorithmEntry{"sha384", "SHA384", 5, kSha384, kSha384},
    AlgorithmEntry{"sha512", "SHA512", 6, kSha512, kSha512},
    AlgorithmEntry{"crc32",    "CRC32",   18, kCrc32,    kCrc32},
    AlgorithmEntry{"crc16",    "CRC16",   19, kCrc16,    kCrc16},
    AlgorithmEntry{"crc16arc", "ARC-CRC", 20, kCrc16Arc, kCrc16Arc},
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
