// The hash base class of the framework: block buffering, the 256-bit bit counter, padding, the
// begin / absorb / end cycle, the digest as bytes or text, and the hash class references with
// their class-level stream and file hashing.
//
// Adding an algorithm class: derive a final class from TDigestHash or a family base, give it
// the constants kClassName, kDigestLength and kBlockLength (or inherit them), answer ClassType()
// with ClassOf<itself>, and override ProcessBlock, and InitState, FinishState and DigestBytes
// unless the family base has them. ClassOf<TheClass> is then its class reference.
#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "framework/DigestFmt.h"
#include "framework/DigestStream.h"
#include "framework/DigestUtil.h"

namespace tolvek::framework {

class TDigestHash;

namespace internal {
struct DigestHashAccess;
}

// The 256-bit count of bits a hash object has absorbed, least significant word first.
using BitCount = std::array<std::uint32_t, 8>;

// Told how far whole-stream hashing has come: pos between min and max, stream positions.
class ProgressObserver {
public:
    virtual void Progress(std::int64_t min, std::int64_t max, std::int64_t pos) = 0;

protected:
    ~ProgressObserver() = default;
};

// The class reference of a hash class: its class-level values, its virtual constructor, and
// hashing of a whole stream or file in one call with an object of the class.
class HashClass : public DigestClass {
public:
    using DigestClass::DigestClass;

    virtual std::int32_t DigestLength() const = 0;  // bytes
    virtual std::int32_t BlockLength() const = 0;   // bytes
    virtual std::unique_ptr<TDigestHash> Create() const = 0;

    // The digest, in `format`, of `size` bytes of `stream` from its current position, or of
    // the whole stream from position 0 when `size` is negative (a whole stream whose size reads
    // as 0, such as a file under /proc, is read to its end). Stream failures raise
    // EStreamError, the hash's own EDigestException; no partial digest is given either way.
    // The hash object and the read buffer are wiped whatever happens, and the observer, if
    // any, is told of every chunk before it is read and finally of the end (pos = max).
    std::string HashStream(ByteStream& stream, std::int64_t size, FormatClassRef format,
                           ProgressObserver* observer) const;

    // HashStream over the whole of the named file, opened read-only; a file that cannot be
    // opened raises EFileOpenError. The file is closed whatever happens.
    std::string HashFile(const std::string& fileName, FormatClassRef format,
                         ProgressObserver* observer) const;
};

using HashClassRef = const HashClass*;

// The read chunk of HashStream, in bytes; rounded up to whole blocks when used. A value of 0
// or less is found and set back to 8192 by the next HashStream.
inline std::atomic<std::int32_t> StreamChunkSize{8192};

// The abstract base of every hash algorithm class. An object is Idle (new, or after EndHash)
// or Computing (after BeginHash); EndHash leaves the digest readable until the next BeginHash.
class TDigestHash : public TDigestObject {
public:
    ~TDigestHash() override;

    // The class reference of the object's class.
    virtual HashClassRef ClassType() const = 0;
    std::int32_t DigestLength() const { return ClassType()->DigestLength(); }
    std::int32_t BlockLength() const { return ClassType()->BlockLength(); }

    // Starts a computation; an object may run any number of them one after another.
    void BeginHash();
    // Absorbs `size` bytes; a size of 0 or less does nothing. Raises EDigestException when
    // the object is not computing or the 256-bit bit counter would overflow.
    virtual void HashData(const void* data, std::int32_t size);
    void EndHash();

    // The digest area, DigestLength() bytes of digest.
    virtual const std::uint8_t* DigestBytes() const = 0;
    // The digest in `format`; the raw digest bytes when no format is given.
    virtual std::string DigestText(FormatClassRef format) const;

    // The first padding byte: 0 means the algorithm's own, which it stores here when it pads.
    std::uint8_t PaddingByte() const { return m_paddingByte; }
    void SetPaddingByte(std::uint8_t value) { m_paddingByte = value; }

protected:
    // Compresses one block of BlockLength() bytes, which it only reads: HashData hands it
    // blocks straight from the caller's memory.
    virtual void ProcessBlock(const std::uint8_t* block) = 0;
    // Compresses `count` whole blocks lying one after another, as ProcessBlock would one by
    // one; a class whose state is cheaper to carry in registers from block to block overrides it.
    virtual void ProcessBlocks(const std::uint8_t* blocks, std::int32_t count);
    virtual void InitState() = 0;
    // Pads and compresses the last block or blocks, leaving the digest in the digest area.
    virtual void FinishState() = 0;

    const BitCount& BitCounter() const { return m_bitCounter; }
    std::uint8_t* BlockBuffer() { return m_blockBuffer.get(); }
    std::int32_t BlockBufferSize() const { return m_blockBufferSize; }
    std::int32_t BlockFill() const { return m_blockFill; }
    void SetBlockFill(std::int32_t fill) { m_blockFill = fill; }

    // The MD-style ending: the padding byte (`defaultPaddingByte` when PaddingByte is 0, which
    // is then stored), zeros, and the low `lengthFieldSize` bytes of the bit count in
    // `lengthOrder` at the end of the block; a second block when the first has no room for
    // the length after the padding byte. A length field of 0 bytes gives one final block.
    void PadFinalBlocks(std::uint8_t defaultPaddingByte, std::int32_t lengthFieldSize,
                        std::endian lengthOrder);

private:
    friend struct internal::DigestHashAccess;

    void zeroBufferTail();
    void writeBitCount(std::uint8_t* field, std::int32_t size, std::endian order) const;

    BitCount m_bitCounter{};
    std::unique_ptr<std::uint8_t[]> m_blockBuffer;  // absent outside a computation
    std::int32_t m_blockBufferSize = 0;
    std::int32_t m_blockFill = 0;
    std::uint8_t m_paddingByte = 0;
};

// What a hash class must say about itself to have a class reference. Requiring it final means
// a class that forgets its own ClassType() cannot pass for its base.
template <class T>
concept ConcreteDigestHash =
    std::derived_from<T, TDigestHash> && std::is_final_v<T> && !std::is_abstract_v<T> &&
    std::is_default_constructible_v<T> && requires {
    { T::kClassName } -> std::convertible_to<std::string_view>;
    { T::kDigestLength } -> std::convertible_to<std::int32_t>;
    { T::kBlockLength } -> std::convertible_to<std::int32_t>;
};

// The descriptor of hash class T, made from T's constants.
template <ConcreteDigestHash T>
class HashClassOf final : public HashClass {
public:
    constexpr HashClassOf() : HashClass(T::kClassName) {}

    std::int32_t DigestLength() const override { return T::kDigestLength; }
    std::int32_t BlockLength() const override { return T::kBlockLength; }
    std::unique_ptr<TDigestHash> Create() const override { return std::make_unique<T>(); }
};

template <std::derived_from<TDigestHash> T>
struct ClassDescriptor<T> {
    using Type = HashClassOf<T>;
};

}  // namespace tolvek::framework
