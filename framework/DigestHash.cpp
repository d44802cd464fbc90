#include "framework/DigestHash.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "framework/DigestInternal.h"
#include "framework/DigestStrings.h"

namespace tolvek::framework {

namespace {

constexpr std::int32_t kDefaultStreamChunkSize = 8192;

// HashStream's size for the whole stream from its start.
constexpr std::int64_t kWholeStream = -1;

// The read chunk of one HashStream call: StreamChunkSize (reset when it is 0 or less) rounded up
// to whole blocks, so that every chunk but the last is absorbed without buffering, and no more
// than one HashData call takes.
std::int64_t streamChunkLength(std::int32_t blockLength) {
    std::int32_t chunkSize = StreamChunkSize.load();
    if (chunkSize <= 0) {
        chunkSize = kDefaultStreamChunkSize;
        StreamChunkSize.store(chunkSize);
    }
    const std::int64_t blocks = (std::int64_t{chunkSize} + blockLength - 1) / blockLength;
    const std::int64_t mostBlocks = std::numeric_limits<std::int32_t>::max() / blockLength;
    return std::min(blocks, mostBlocks) * blockLength;
}

// Where a stream hash has got to, told to the observer if there is one.
struct StreamProgress {
    ProgressObserver* observer;
    std::int64_t min = 0;
    std::int64_t max = 0;

    void report(std::int64_t pos) const {
        if (observer != nullptr) {
            observer->Progress(min, max, pos);
        }
    }
};

// Absorbs `size` bytes of the stream in chunks; size < 0 takes the whole stream from its
// start. A whole stream whose size reads as 0 is read to its end, because a size of 0 does not
// prove an empty file (those under /proc have content).
std::string absorbStream(TDigestHash& hash, ByteStream& stream, std::int64_t size,
                         FormatClassRef format, std::string& chunk, StreamProgress& progress) {
    hash.BeginHash();
    const std::int64_t chunkLength = streamChunkLength(hash.BlockLength());
    std::int64_t pos = 0;
    bool toEnd = false;
    if (size < 0) {
        stream.SetPosition(0);
        size = stream.Size();
        toEnd = size == 0;
    } else {
        pos = stream.Position();
    }
    chunk.resize(static_cast<std::size_t>(toEnd ? chunkLength : std::min(chunkLength, size)));
    progress.min = pos;
    progress.max = pos + size;
    auto* const buffer = reinterpret_cast<std::uint8_t*>(chunk.data());
    while (size > 0) {
        progress.report(pos);
        const auto count = static_cast<std::int32_t>(std::min<std::int64_t>(chunk.size(), size));
        stream.ReadExactly({buffer, static_cast<std::size_t>(count)});
        hash.HashData(buffer, count);
        size -= count;
        pos += count;
    }
    while (toEnd) {
        // The end is unknown until it is reached: what has arrived so far is the range.
        progress.report(pos);
        const std::size_t count = stream.ReadAvailable({buffer, chunk.size()});
        hash.HashData(buffer, static_cast<std::int32_t>(count));
        pos += static_cast<std::int64_t>(count);
        progress.max = pos;
        toEnd = count > 0;
    }
    hash.EndHash();
    return hash.DigestText(format);
}

}  // namespace

std::string HashClass::HashStream(ByteStream& stream, std::int64_t size, FormatClassRef format,
                                  ProgressObserver* observer) const {
    StreamProgress progress{observer};
    std::string chunk;
    std::unique_ptr<TDigestHash> hash;
    const auto cleanUp = [&] {
        hash.reset();
        WipeString(chunk);
        progress.report(progress.max);
    };
    std::string digest;
    try {
        hash = Create();
        digest = absorbStream(*hash, stream, size, format, chunk, progress);
    } catch (...) {
        cleanUp();
        throw;
    }
    cleanUp();
    return digest;
}

std::string HashClass::HashFile(const std::string& fileName, FormatClassRef format,
                                ProgressObserver* observer) const {
    FileStream stream(fileName);
    // A size of 0 asks for the whole stream, which reads a file under /proc to its end.
    const std::int64_t size = stream.Size();
    return HashStream(stream, size == 0 ? kWholeStream : size, format, observer);
}

TDigestHash::~TDigestHash() {
    WipeBuffer(m_blockBuffer.get(), m_blockBufferSize);
}

void TDigestHash::BeginHash() {
    m_blockFill = 0;
    const std::int32_t blockLength = BlockLength();
    if (m_blockBuffer == nullptr) {
        m_blockBuffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(blockLength));
    } else {
        std::memset(m_blockBuffer.get(), 0, static_cast<std::size_t>(blockLength));
    }
    m_blockBufferSize = blockLength;
    m_bitCounter.fill(0);
    InitState();
}

void TDigestHash::HashData(const void* data, std::int32_t size) {
    if (size <= 0) {
        return;
    }
    if (m_blockBuffer == nullptr) {
        throw EDigestException::FromText(kNotInitializedText);
    }
    if (!internal::AddBitCount(m_bitCounter, size)) {
        throw EDigestException::FromText(kTooManyBitsText);
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::uint8_t* const buffer = m_blockBuffer.get();
    if (m_blockFill > 0) {
        const std::int32_t rest = m_blockBufferSize - m_blockFill;
        if (size < rest) {
            std::memcpy(buffer + m_blockFill, bytes, static_cast<std::size_t>(size));
            m_blockFill += size;
            return;
        }
        std::memcpy(buffer + m_blockFill, bytes, static_cast<std::size_t>(rest));
        ProcessBlock(buffer);
        bytes += rest;
        size -= rest;
    }
    const std::int32_t wholeBlocks = size / m_blockBufferSize;
    if (wholeBlocks > 0) {
        ProcessBlocks(bytes, wholeBlocks);
        bytes += wholeBlocks * m_blockBufferSize;
        size -= wholeBlocks * m_blockBufferSize;
    }
    std::memcpy(buffer, bytes, static_cast<std::size_t>(size));
    m_blockFill = size;
}

void TDigestHash::EndHash() {
    // Finishing an idle object would pad into a buffer it does not have.
    if (m_blockBuffer == nullptr) {
        throw EDigestException::FromText(kNotInitializedText);
    }
    FinishState();
    WipeBuffer(m_blockBuffer.get(), m_blockBufferSize);
    m_blockBufferSize = 0;
    m_blockBuffer.reset();
}

void TDigestHash::ProcessBlocks(const std::uint8_t* blocks, std::int32_t count) {
    for (std::int32_t index = 0; index < count; ++index) {
        ProcessBlock(blocks + index * m_blockBufferSize);
    }
}

std::string TDigestHash::DigestText(FormatClassRef format) const {
    return Encode(*ResolveFormat(format), DigestBytes(), DigestLength());
}

void TDigestHash::PadFinalBlocks(std::uint8_t defaultPaddingByte, std::int32_t lengthFieldSize,
                                 std::endian lengthOrder) {
    if (m_paddingByte == 0) {
        m_paddingByte = defaultPaddingByte;
    }
    std::uint8_t* const buffer = m_blockBuffer.get();
    buffer[m_blockFill++] = m_paddingByte;
    if (m_blockFill > m_blockBufferSize - lengthFieldSize) {
        zeroBufferTail();
        ProcessBlock(buffer);
        m_blockFill = 0;
    }
    zeroBufferTail();
    writeBitCount(buffer + m_blockBufferSize - lengthFieldSize, lengthFieldSize, lengthOrder);
    ProcessBlock(buffer);
}

void TDigestHash::zeroBufferTail() {
    std::memset(m_blockBuffer.get() + m_blockFill, 0,
                static_cast<std::size_t>(m_blockBufferSize - m_blockFill));
}

// Writes the low `size` bytes of the bit count, byte i being bits 8i to 8i+7 of the count.
void TDigestHash::writeBitCount(std::uint8_t* field, std::int32_t size, std::endian order) const {
    for (std::int32_t index = 0; index < size; ++index) {
        const auto byte = static_cast<std::uint8_t>(m_bitCounter[index / 4] >> (8 * (index % 4)));
        field[order == std::endian::little ? index : size - 1 - index] = byte;
    }
}

namespace internal {

bool AddBitCount(BitCount& counter, std::int32_t byteCount) {
    // 8 x byteCount spans the two low words; each word passes its carry to the next.
    std::uint64_t addend = static_cast<std::uint64_t>(byteCount) << 3;
    for (std::uint32_t& word : counter) {
        const std::uint64_t sum = std::uint64_t{word} + (addend & 0xFFFFFFFF);
        word = static_cast<std::uint32_t>(sum);
        addend = (addend >> 32) + (sum >> 32);
    }
    return addend == 0;
}

const BitCount& DigestHashAccess::BitCounter(const TDigestHash& hash) {
    return hash.m_bitCounter;
}

void DigestHashAccess::PresetBitCounter(TDigestHash& hash, const BitCount& counter) {
    hash.m_bitCounter = counter;
}

std::int32_t DigestHashAccess::BlockFill(const TDigestHash& hash) {
    return hash.m_blockFill;
}

std::int32_t DigestHashAccess::BlockBufferSize(const TDigestHash& hash) {
    return hash.m_blockBufferSize;
}

bool DigestHashAccess::HasBlockBuffer(const TDigestHash& hash) {
    return hash.m_blockBuffer != nullptr;
}

}  // namespace internal

}  // namespace tolvek::framework
