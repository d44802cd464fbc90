#include "app/hashing/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ReadOnlyFile.h"

namespace tolvek::hashing {

namespace {

using Clock = std::chrono::steady_clock;

// A thread looks at the stop token between slices of a chunk, so that a cancel is answered
// within a few milliseconds even by the slowest entries (MD2, about 11 MB/s, takes 6 ms for the
// smallest slice). A slice hashed faster than kQuickSlice makes the digester's next one twice as
// long, up to a whole chunk: a fast digester then gets large updates, which BLAKE3 spreads over
// the cores.
constexpr std::size_t kSmallestSlice = std::size_t{64} << 10;
constexpr std::size_t kLargestSlice = std::size_t{16} << 20;
constexpr auto kQuickSlice = std::chrono::milliseconds(1);

// Reads until `buffer` is full or the file ends; nothing on a read error. From `offset` when one
// is given, else from the read position.
std::optional<std::size_t> readFully(platform::ReadOnlyFile& file, std::span<std::uint8_t> buffer,
                                     std::optional<std::uint64_t> offset = std::nullopt) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const std::span<std::uint8_t> rest = buffer.subspan(filled);
        const std::optional<std::size_t> count =
            offset ? file.readAt(static_cast<std::int64_t>(*offset + filled), rest)
                   : file.read(rest);
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

// Hands the bytes to one digester in slices whose length follows its speed.
class SliceFeeder {
public:
    SliceFeeder(Digester& digester, const std::stop_token& stop)
        : m_digester(&digester), m_stop(&stop) {}

    void feed(std::span<const std::uint8_t> bytes) {
        while (!bytes.empty() && !m_stop->stop_requested()) {
            const std::size_t count = std::min(bytes.size(), m_slice);
            const Clock::time_point start = Clock::now();
            m_digester->update(bytes.first(count));
            const bool quick = Clock::now() - start < kQuickSlice;
            m_slice = quick ? std::min(2 * m_slice, kLargestSlice)
                            : std::max(m_slice / 2, kSmallestSlice);
            bytes = bytes.subspan(count);
        }
    }

private:
    Digester* m_digester;
    const std::stop_token* m_stop;
    std::size_t m_slice = kSmallestSlice;
};

// One read of a file shared by a few threads that each both read and hash: a thread hashes the
// next chunk of a digester that no other thread is feeding, else reads the next chunk into a
// free slot, else waits for either. Chunk n goes to slot n % slots once every digester has
// hashed chunk n - slots. Each digester takes the chunks in file order, one thread at a time.
// No thread hands a chunk to another and then sleeps: a fast checksum is fed by whichever
// thread is free while the others copy from the file, so both cores copy.
class SharedRead {
public:
    SharedRead(platform::ReadOnlyFile& file, std::optional<std::uint64_t> total,
               std::span<Digester* const> digesters, std::size_t slots, const ReadControl& control,
               std::stop_source& abort)
        : m_file(file),
          m_total(total),
          m_chunkBytes(control.tuning.chunkBytes),
          m_abort(abort),
          m_stop(abort.get_token()),
          m_reporter(control, total),
          m_buffers(slots),
          m_filled(slots, kEmpty),
          m_lengths(slots, 0) {
        if (total) {
            m_chunks = (*total + m_chunkBytes - 1) / m_chunkBytes;
        }
        for (Digester* digester : digesters) {
            m_lanes.push_back({SliceFeeder(*digester, m_stop)});
        }
    }

    // One thread's share, until every digester has every chunk, a read failed or a stop came.
    void work() {
        std::unique_lock lock(m_mutex);
        while (!m_stop.stop_requested() && !allHashed()) {
            const std::uint64_t seen = m_changes;
            if (!hashNextChunk(lock) && !readNextChunk(lock)) {
                m_changed.wait(lock, m_stop, [&] { return m_changes != seen; });
            }
        }
    }

    // After every thread's work() has returned.
    ReadStatus status() {
        if (m_failed) {
            return ReadStatus::ReadFailed;
        }
        if (m_stop.stop_requested()) {
            return ReadStatus::Cancelled;
        }
        const std::optional<std::int64_t> size = m_file.size();
        if (m_total && (!size || static_cast<std::uint64_t>(*size) < *m_total)) {
            return ReadStatus::ReadFailed;  // it shrank while it was read
        }
        m_reporter.completed(m_leadingBytes);
        return ReadStatus::Complete;
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};

    struct Lane {
        SliceFeeder feeder;
        std::uint64_t next = 0;  // the chunk it hashes next
        bool busy = false;
    };

    bool isEnd(std::uint64_t chunk) const { return m_chunks && chunk >= *m_chunks; }
    bool allHashed() const {
        return std::ranges::all_of(m_lanes, [&](const Lane& lane) { return isEnd(lane.next); });
    }
    std::size_t slotOf(std::uint64_t chunk) const { return chunk % m_buffers.size(); }
    std::uint64_t slowestLane() const { return std::ranges::min(m_lanes, {}, &Lane::next).next; }

    void changed() {
        ++m_changes;
        m_changed.notify_all();
    }

    // Feeds the free digester furthest behind its next chunk, if one is in.
    bool hashNextChunk(std::unique_lock<std::mutex>& lock) {
        Lane* chosen = nullptr;
        for (Lane& lane : m_lanes) {
            const bool ready =
                !lane.busy && !isEnd(lane.next) && m_filled[slotOf(lane.next)] == lane.next;
            if (ready && (chosen == nullptr || lane.next < chosen->next)) {
                chosen = &lane;
            }
        }
        if (chosen == nullptr) {
            return false;
        }
        const std::size_t slot = slotOf(chosen->next);
        chosen->busy = true;
        lock.unlock();
        chosen->feeder.feed({m_buffers[slot].get(), m_lengths[slot]});
        lock.lock();
        chosen->busy = false;
        ++chosen->next;
        changed();
        return true;
    }

    // Reads the next chunk when a slot is free: at its offset when the size is known, else in
    // order from the read position, one read at a time.
    bool readNextChunk(std::unique_lock<std::mutex>& lock) {
        const bool slotFree = m_claimed - slowestLane() < m_buffers.size();
        if (isEnd(m_claimed) || !slotFree || (!m_total && m_reading)) {
            return false;
        }
        const std::uint64_t chunk = m_claimed++;
        std::unique_ptr<std::uint8_t[]>& buffer = m_buffers[slotOf(chunk)];
        if (buffer == nullptr) {
            buffer = std::make_unique_for_overwrite<std::uint8_t[]>(m_chunkBytes);
        }
        const std::uint64_t offset = chunk * m_chunkBytes;
        const std::size_t request =
            m_total
                ? static_cast<std::size_t>(std::min<std::uint64_t>(*m_total - offset, m_chunkBytes))
                : m_chunkBytes;
        const std::span<std::uint8_t> target(buffer.get(), request);
        m_reading = true;
        lock.unlock();
        const std::optional<std::size_t> count =
            m_total ? readFully(m_file, target, offset) : readFully(m_file, target);
        lock.lock();
        m_reading = false;
        if (!count || (m_total && *count < request)) {
            m_failed = true;
            m_abort.request_stop();
        } else {
            filled(chunk, *count, !m_total && *count < request);
        }
        changed();
        return true;
    }

    void filled(std::uint64_t chunk, std::size_t length, bool last) {
        m_filled[slotOf(chunk)] = chunk;
        m_lengths[slotOf(chunk)] = length;
        if (last) {
            m_chunks = chunk + 1;
        }
        while (m_leading < m_claimed && m_filled[slotOf(m_leading)] == m_leading) {
            m_leadingBytes += m_lengths[slotOf(m_leading)];
            ++m_leading;
        }
        // Under the lock, so that reports never overlap and never go back.
        m_reporter.advanced(m_leadingBytes);
    }

    platform::ReadOnlyFile& m_file;
    const std::optional<std::uint64_t> m_total;
    const std::size_t m_chunkBytes;
    std::stop_source& m_abort;
    const std::stop_token m_stop;
    ProgressReporter m_reporter;

    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::uint64_t m_changes = 0;
    std::vector<Lane> m_lanes;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_buffers;
    std::vector<std::uint64_t> m_filled;  // the chunk each slot holds, or kEmpty
    std::vector<std::size_t> m_lengths;
    std::optional<std::uint64_t> m_chunks;  // nothing while the end is not known yet
    std::uint64_t m_claimed = 0;            // chunks whose read has begun
    std::uint64_t m_leading = 0;            // chunks read from the start without a gap
    std::uint64_t m_leadingBytes = 0;
    bool m_reading = false;
    bool m_failed = false;
};

ReadStatus readShared(platform::ReadOnlyFile& file, std::optional<std::uint64_t> total,
                      std::span<Digester* const> digesters, const ReadControl& control) {
    std::stop_source abort;
    const std::stop_callback forward(control.stop, [&] { abort.request_stop(); });
    // One thread per digester and a second reader; one slot per thread and up to three more
    // chunks waiting to be hashed.
    const std::size_t threads =
        std::clamp<std::size_t>(control.tuning.threads, 1, digesters.size() + 1);
    SharedRead read(file, total, digesters, threads + 3, control, abort);
    {
        std::vector<std::jthread> helpers;
        for (std::size_t helper = 1; helper < threads; ++helper) {
            helpers.emplace_back([&] { read.work(); });
        }
        read.work();
    }
    return read.status();
}

void feedFromMemory(std::span<const std::uint8_t> bytes, std::span<Digester* const> digesters,
                    const std::stop_token& stop) {
    for (Digester* digester : digesters) {
        SliceFeeder(*digester, stop).feed(bytes);
    }
}

}  // namespace

std::size_t CoreCount() {
    static const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    return cores;
}

ReadStatus ReadFile(const std::string& name, std::span<Digester* const> digesters,
                    const ReadControl& control, int* systemError) {
    FileContent content = FileContent::Open(name, control);
    const ReadStatus status = content.feed(digesters, control);
    if (systemError != nullptr) {
        *systemError = content.systemError();
    }
    return status;
}

FileContent FileContent::Open(const std::string& name, const ReadControl& control) {
    FileContent content;
    const platform::FileKinds kinds =
        control.readStreams ? platform::FileKinds::WithStreams : platform::FileKinds::Seekable;
    std::optional<platform::ReadOnlyFile> file =
        platform::ReadOnlyFile::open(name, kinds, &content.m_systemError);
    const std::optional<std::int64_t> size = file ? file->sizeAtOpen() : std::nullopt;
    if (!size || *size < 0) {
        content.m_failure = ReadStatus::OpenFailed;
        content.m_systemError = file ? file->lastError() : content.m_systemError;
        return content;
    }
    const auto bytes = static_cast<std::uint64_t>(*size);
    if (bytes > 0 && bytes <= control.tuning.chunkBytes) {
        content.m_size = static_cast<std::size_t>(bytes);
        content.m_bytes = std::make_unique_for_overwrite<std::uint8_t[]>(content.m_size);
        const std::optional<std::size_t> count =
            readFully(*file, {content.m_bytes.get(), content.m_size});
        if (!count || *count < content.m_size) {
            content.m_failure = ReadStatus::ReadFailed;
            content.m_systemError = file->lastError();
        }
        return content;
    }
    // A size of 0 may still hide content, as /proc files do: such a file is read to its end.
    content.m_total = bytes > 0 ? std::optional<std::uint64_t>(bytes) : std::nullopt;
    content.m_rewinds = !content.m_total && file->seek(0);
    content.m_file = std::make_unique<platform::ReadOnlyFile>(std::move(*file));
    return content;
}

FileContent::FileContent(FileContent&& other) noexcept = default;
FileContent& FileContent::operator=(FileContent&& other) noexcept = default;
FileContent::~FileContent() = default;

ReadStatus FileContent::feed(std::span<Digester* const> digesters, const ReadControl& control) {
    if (m_failure) {
        return *m_failure;
    }
    const bool again = std::exchange(m_fed, true);
    if (const std::optional<std::uint64_t> size = m_file == nullptr ? m_size : m_total) {
        for (Digester* digester : digesters) {
            digester->expectSize(*size);
        }
    }
    if (m_file == nullptr) {
        feedFromMemory({m_bytes.get(), m_size}, digesters, control.stop);
        if (control.stop.stop_requested()) {
            return ReadStatus::Cancelled;
        }
        ProgressReporter(control, m_size).completed(m_size);
        return ReadStatus::Complete;
    }
    // A file of known size is read at offsets, so only one without a size needs rewinding.
    if (again && !m_total && !(m_rewinds && m_file->seek(0))) {
        m_systemError = ESPIPE;
        return ReadStatus::ReadFailed;
    }
    const ReadStatus status = readShared(*m_file, m_total, digesters, control);
    m_systemError = m_file->lastError();
    return status;
}

}  // namespace tolvek::hashing
