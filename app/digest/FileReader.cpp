#include "app/digest/FileReader.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/ReadOnlyFile.h"

namespace tolvek::digest {

namespace {

using Clock = std::chrono::steady_clock;

// Chunks in flight: the one being read and up to three being hashed, 4 MiB in all.
constexpr std::size_t kRingSlots = 4;
// A worker looks at the stop token between slices of this many bytes, so that a cancel is
// answered within a few milliseconds even by the slowest entries (MD2, about 11 MB/s).
constexpr std::size_t kCancelSlice = std::size_t{64} << 10;

// Reads until `buffer` is full or the file ends; nothing on a read error.
std::optional<std::size_t> readFully(platform::ReadOnlyFile& file, std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const std::optional<std::size_t> count = file.read(buffer.subspan(filled));
        if (!count) {
            return std::nullopt;
        }
        if (*count == 0) {
            break;
        }
        filled += *count;
    }
    return filled;
}

class ProgressReporter {
public:
    ProgressReporter(const ReadControl& control, std::optional<std::uint64_t> total)
        : m_control(control), m_total(total), m_start(Clock::now()), m_last(m_start) {}

    void advanced(std::uint64_t done) {
        if (!m_control.progress) {
            return;
        }
        const Clock::time_point now = Clock::now();
        if (now - m_last >= m_control.progressInterval) {
            m_last = now;
            m_control.progress({done, m_total, now - m_start});
        }
    }

    void completed(std::uint64_t done) {
        if (m_control.progress) {
            m_control.progress({done, done, Clock::now() - m_start});
        }
    }

private:
    const ReadControl& m_control;
    std::optional<std::uint64_t> m_total;
    Clock::time_point m_start;
    Clock::time_point m_last;
};

// The chunk buffers between the reading thread and one worker per digester. The reader fills
// chunk n into slot n % kRingSlots once every worker has hashed chunk n - kRingSlots.
class ChunkRing {
public:
    ChunkRing(std::size_t consumers, std::stop_token stop)
        : m_stop(std::move(stop)), m_consumed(consumers, 0) {}

    // The next free slot, waiting for one; empty once a stop was requested.
    std::span<std::uint8_t> acquire() {
        std::unique_lock lock(m_mutex);
        const bool free = m_changed.wait(lock, m_stop, [&] {
            return m_published - slowestConsumer() < kRingSlots;
        });
        if (!free) {
            return {};
        }
        std::unique_ptr<std::uint8_t[]>& slot = m_slots[m_published % kRingSlots];
        if (slot == nullptr) {
            slot = std::make_unique_for_overwrite<std::uint8_t[]>(kReadChunk);
        }
        return {slot.get(), kReadChunk};
    }

    // The acquired slot holds the next chunk, `length` bytes.
    void publish(std::size_t length) {
        {
            const std::lock_guard lock(m_mutex);
            m_lengths[m_published % kRingSlots] = length;
            ++m_published;
        }
        m_changed.notify_all();
    }

    // No chunk follows the published ones.
    void close() {
        {
            const std::lock_guard lock(m_mutex);
            m_closed = true;
        }
        m_changed.notify_all();
    }

    // The consumer's next chunk, waiting for it; nothing after the last one or on a stop.
    std::optional<std::span<const std::uint8_t>> next(std::size_t consumer) {
        std::unique_lock lock(m_mutex);
        const std::uint64_t wanted = m_consumed[consumer];
        m_changed.wait(lock, m_stop, [&] { return m_published > wanted || m_closed; });
        if (m_published <= wanted || m_stop.stop_requested()) {
            return std::nullopt;
        }
        const std::size_t slot = wanted % kRingSlots;
        return std::span<const std::uint8_t>(m_slots[slot].get(), m_lengths[slot]);
    }

    // The consumer is done with the chunk next() gave.
    void release(std::size_t consumer) {
        {
            const std::lock_guard lock(m_mutex);
            ++m_consumed[consumer];
        }
        m_changed.notify_all();
    }

private:
    std::uint64_t slowestConsumer() const {
        return m_consumed.empty() ? m_published : *std::ranges::min_element(m_consumed);
    }

    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::stop_token m_stop;
    std::array<std::unique_ptr<std::uint8_t[]>, kRingSlots> m_slots;
    std::array<std::size_t, kRingSlots> m_lengths{};
    std::uint64_t m_published = 0;
    bool m_closed = false;
    std::vector<std::uint64_t> m_consumed;
};

void feed(Digester& digester, std::span<const std::uint8_t> bytes, const std::stop_token& stop) {
    while (!bytes.empty() && !stop.stop_requested()) {
        const std::size_t count = std::min(bytes.size(), kCancelSlice);
        digester.update(bytes.first(count));
        bytes = bytes.subspan(count);
    }
}

void hashChunks(ChunkRing& ring, std::size_t consumer, Digester& digester,
                const std::stop_token& stop) {
    while (const std::optional<std::span<const std::uint8_t>> chunk = ring.next(consumer)) {
        feed(digester, *chunk, stop);
        ring.release(consumer);
    }
}

// Reads the chunks into the ring until the file's end; `done` counts the bytes read.
ReadStatus readChunks(platform::ReadOnlyFile& file, std::optional<std::uint64_t> total,
                      ChunkRing& ring, ProgressReporter& reporter, std::uint64_t& done) {
    for (;;) {
        const std::span<std::uint8_t> slot = ring.acquire();
        if (slot.empty()) {
            return ReadStatus::Cancelled;
        }
        const std::size_t request =
            total ? static_cast<std::size_t>(std::min<std::uint64_t>(*total - done, slot.size()))
                  : slot.size();
        const std::optional<std::size_t> count = readFully(file, slot.first(request));
        if (!count || (total && *count < request)) {
            return ReadStatus::ReadFailed;
        }
        ring.publish(*count);
        done += *count;
        reporter.advanced(done);
        if (total ? done == *total : *count < request) {
            return ReadStatus::Complete;
        }
    }
}

ReadStatus readPipelined(platform::ReadOnlyFile& file, std::optional<std::uint64_t> total,
                         std::span<Digester* const> digesters, const ReadControl& control) {
    std::stop_source abort;
    const std::stop_callback forward(control.stop, [&] { abort.request_stop(); });
    ProgressReporter reporter(control, total);
    ChunkRing ring(digesters.size(), abort.get_token());
    std::uint64_t done = 0;
    ReadStatus status = ReadStatus::Complete;
    {
        std::vector<std::jthread> workers;
        workers.reserve(digesters.size());
        for (std::size_t index = 0; index < digesters.size(); ++index) {
            workers.emplace_back([&, index] {
                hashChunks(ring, index, *digesters[index], abort.get_token());
            });
        }
        status = readChunks(file, total, ring, reporter, done);
        if (status != ReadStatus::Complete) {
            abort.request_stop();
        }
        ring.close();
    }
    if (status == ReadStatus::Complete && abort.stop_requested()) {
        return ReadStatus::Cancelled;
    }
    if (status == ReadStatus::Complete) {
        reporter.completed(done);
    }
    return status;
}

// A file of one chunk at most: read and hashed on the calling thread, which costs less than
// starting workers.
ReadStatus readWhole(platform::ReadOnlyFile& file, std::uint64_t size,
                     std::span<Digester* const> digesters, const ReadControl& control) {
    ProgressReporter reporter(control, size);
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    const std::span<std::uint8_t> bytes(buffer.get(), size);
    const std::optional<std::size_t> count = readFully(file, bytes);
    if (!count || *count < size) {
        return ReadStatus::ReadFailed;
    }
    for (Digester* digester : digesters) {
        feed(*digester, bytes, control.stop);
    }
    if (control.stop.stop_requested()) {
        return ReadStatus::Cancelled;
    }
    reporter.completed(size);
    return ReadStatus::Complete;
}

ReadStatus readOpened(platform::ReadOnlyFile& file, std::span<Digester* const> digesters,
                      const ReadControl& control) {
    const std::optional<std::int64_t> size = file.size();
    if (!size || *size < 0) {
        return ReadStatus::OpenFailed;
    }
    const auto bytes = static_cast<std::uint64_t>(*size);
    if (bytes > 0 && bytes <= kReadChunk) {
        return readWhole(file, bytes, digesters, control);
    }
    const std::optional<std::uint64_t> total =
        bytes > 0 ? std::optional<std::uint64_t>(bytes) : std::nullopt;
    return readPipelined(file, total, digesters, control);
}

}  // namespace

ReadStatus ReadFile(const std::string& name, std::span<Digester* const> digesters,
                    const ReadControl& control, int* systemError) {
    const platform::FileKinds kinds =
        control.readStreams ? platform::FileKinds::WithStreams : platform::FileKinds::Seekable;
    int failure = 0;
    std::optional<platform::ReadOnlyFile> file =
        platform::ReadOnlyFile::open(name, kinds, &failure);
    const ReadStatus status = file ? readOpened(*file, digesters, control) : ReadStatus::OpenFailed;
    if (systemError != nullptr) {
        *systemError = file ? file->lastError() : failure;
    }
    return status;
}

}  // namespace tolvek::digest
