#include "app/checks/S3Etag.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <charconv>

#include "app/hashing/DigestText.h"

namespace tolvek::checks {

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

void appendCount(hashing::Digest& digest, std::uint64_t count) {
    for (int shift = 56; shift >= 0; shift -= 8) {
        digest.push_back(static_cast<std::uint8_t>(count >> shift));
    }
}

const hashing::Provider& md5() { return hashing::FindAlgorithm("md5")->fileRoute; }

class EtagDigester final : public hashing::Digester {
public:
    explicit EtagDigester(std::uint64_t partBytes)
        : m_partBytes(partBytes), m_part(md5().start()), m_partDigests(md5().start()) {}

    void update(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            if (m_fill == m_partBytes) {
                closePart();
            }
            const auto piece = static_cast<std::size_t>(
                std::min<std::uint64_t>(m_partBytes - m_fill, bytes.size()));
            m_part->update(bytes.first(piece));
            m_fill += piece;
            bytes = bytes.subspan(piece);
        }
    }

    hashing::DigestOutcome finish() override {
        closePart();
        hashing::DigestOutcome outcome = m_partDigests->finish();
        appendCount(outcome.digest, m_parts);
        return outcome;
    }

private:
    void closePart() {
        m_partDigests->update(m_part->finish().digest);
        m_part = md5().start();
        m_fill = 0;
        ++m_parts;
    }

    std::uint64_t m_partBytes;
    std::uint64_t m_fill = 0;
    std::uint64_t m_parts = 0;
    std::unique_ptr<hashing::Digester> m_part;
    std::unique_ptr<hashing::Digester> m_partDigests;
};

class EtagProvider final : public hashing::Provider {
public:
    explicit EtagProvider(std::uint64_t partBytes) : m_partBytes(partBytes) {}
    std::unique_ptr<hashing::Digester> start() const override {
        return std::make_unique<EtagDigester>(m_partBytes);
    }
    std::size_t digestBytes() const override { return md5().digestBytes() + 8; }

private:
    std::uint64_t m_partBytes;
};

}  // namespace

std::optional<S3Etag> ReadS3Etag(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    const std::size_t dash = text.find('-');
    if (dash != 32) {
        return std::nullopt;
    }
    std::optional<hashing::Digest> digest = hashing::ReadHex(text.substr(0, dash));
    const std::string_view count = text.substr(dash + 1);
    std::uint64_t parts = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), parts);
    if (!digest || error != std::errc() || end != count.data() + count.size() || parts == 0) {
        return std::nullopt;
    }
    return S3Etag{std::move(*digest), parts};
}

std::span<const std::uint64_t> CommonEtagPartSizes() {
    static constexpr std::array<std::uint64_t, 6> kCommon = {5 * kMiB,  8 * kMiB,  15 * kMiB,
                                                             16 * kMiB, 64 * kMiB, 100 * kMiB};
    return kCommon;
}

std::vector<std::uint64_t> EtagPartSizes(std::uint64_t fileSize, std::uint64_t parts) {
    const auto cutsInto = [&](std::uint64_t size) {
        return std::max<std::uint64_t>(1, (fileSize + size - 1) / size) == parts;
    };
    std::vector<std::uint64_t> sizes;
    std::ranges::copy_if(CommonEtagPartSizes(), std::back_inserter(sizes), cutsInto);
    const std::uint64_t perPart = (fileSize + parts - 1) / parts;
    const std::uint64_t wholeMiB = std::max<std::uint64_t>(1, (perPart + kMiB - 1) / kMiB) * kMiB;
    if (cutsInto(wholeMiB) && std::ranges::find(sizes, wholeMiB) == sizes.end()) {
        sizes.push_back(wholeMiB);
    }
    return sizes;
}

std::unique_ptr<hashing::Provider> MakeEtagProvider(std::uint64_t partBytes) {
    return std::make_unique<EtagProvider>(partBytes);
}

hashing::Digest EtagDigest(const S3Etag& etag) {
    hashing::Digest digest = etag.digest;
    appendCount(digest, etag.parts);
    return digest;
}

}  // namespace tolvek::checks
