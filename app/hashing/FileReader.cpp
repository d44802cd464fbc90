#include "app/hashing/FileReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "app/hashing/ReadSteps.h"
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
            // A short piece, such as a small file's, says little about the speed and is not
            // worth two clock readings.
            if (count < kSmallestSlice) {
                m_digester->update(bytes.first(count));
                return;
            }
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
          m_dropsCached(total && *total > control.tuning.keepCachedUpTo),
          m_readsInTurn(!total || !file.cachedAt(0)),
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
            m_lanes.push_back({SliceFeeder(*digester, m_stop), digester->pieces()});
        }
        m_pieceValues.resize(slots * m_lanes.size());
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
        // Set when the digester hashes pieces apart: then the thread that reads a chunk hashes
        // it, and the lane only joins the values in order.
        PieceHashing* pieces;
        std::uint64_t next = 0;  // the chunk it hashes or joins next
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

    // Feeds the free digester furthest behind its next chunk, if one is in; a digester that
    // hashes pieces apart is fed by the reads.
    bool hashNextChunk(std::unique_lock<std::mutex>& lock) {
        Lane* chosen = nullptr;
        for (Lane& lane : m_lanes) {
            const bool ready = !lane.pieces && !lane.busy && !isEnd(lane.next) &&
                               m_filled[slotOf(lane.next)] == lane.next;
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
        chosen->feeder.feed(m_buffers[slot].bytes().first(m_lengths[slot]));
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
        if (isEnd(m_claimed) || !slotFree || (m_readsInTurn && m_reading)) {
            return false;
        }
        const std::uint64_t chunk = m_claimed++;
        platform::ReadBuffer& buffer = m_buffers[slotOf(chunk)];
        if (buffer.data() == nullptr) {
            buffer = platform::ReadBuffer(m_chunkBytes);
        }
        const std::uint64_t offset = chunk * m_chunkBytes;
        const std::size_t request =
            m_total
                ? static_cast<std::size_t>(std::min<std::uint64_t>(*m_total - offset, m_chunkBytes))
                : m_chunkBytes;
        const std::span<std::uint8_t> target = buffer.bytes().first(request);
        m_reading = true;
        lock.unlock();
        const std::optional<std::size_t> count =
            m_total ? ReadFully(m_file, target, offset) : ReadFully(m_file, target);
        if (count) {
            hashPieces(slotOf(chunk), target.first(*count));
        }
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

    // Hashes a chunk just read for every digester that hashes pieces apart, while the chunk is
    // still in this thread's cache. The slot is this thread's until it is marked filled.
    void hashPieces(std::size_t slot, std::span<const std::uint8_t> bytes) {
        for (std::size_t lane = 0; lane < m_lanes.size(); ++lane) {
            if (m_lanes[lane].pieces) {
                m_pieceValues[slot * m_lanes.size() + lane] = m_lanes[lane].pieces->hashPiece(bytes);
            }
        }
    }

    // Joins, in file order, every piece whose chunks before it are joined.
    void joinPieces() {
        for (std::size_t index = 0; index < m_lanes.size(); ++index) {
            Lane& lane = m_lanes[index];
            while (lane.pieces && !isEnd(lane.next) && m_filled[slotOf(lane.next)] == lane.next) {
                const std::size_t slot = slotOf(lane.next);
                lane.pieces->joinPiece(m_pieceValues[slot * m_lanes.size() + index],
                                       m_lengths[slot]);
                ++lane.next;
            }
        }
    }

    void filled(std::uint64_t chunk, std::size_t length, bool last) {
        m_filled[slotOf(chunk)] = chunk;
        m_lengths[slotOf(chunk)] = length;
        if (last) {
            m_chunks = chunk + 1;
        }
        joinPieces();
        while (m_leading < m_claimed && m_filled[slotOf(m_leading)] == m_leading) {
            m_leadingBytes += m_lengths[slotOf(m_leading)];
            ++m_leading;
        }
        // Under the lock, so that reports never overlap and never go back.
        m_reporter.advanced(m_leadingBytes);
        if (m_dropsCached) {
            dropRead();
        }
    }

    // Drops what has been read from the start without a gap: it is in the slots now. From a
    // little before the last drop, and at the end to the end of the file, since the cache holds
    // a file in pieces of up to 2 MiB and keeps a piece the range only partly covers.
    void dropRead() {
        constexpr std::uint64_t kLargestPiece = std::uint64_t{2} << 20;
        const std::uint64_t from = m_dropped - std::min(m_dropped, kLargestPiece);
        const bool toEnd = isEnd(m_leading);
        m_file.dropCached(static_cast<std::int64_t>(from),
                          toEnd ? 0 : static_cast<std::int64_t>(m_leadingBytes - from));
        m_dropped = m_leadingBytes;
    }

    platform::ReadOnlyFile& m_file;
    const std::optional<std::uint64_t> m_total;
    const std::size_t m_chunkBytes;
    const bool m_dropsCached;
    // One read at a time, in order: a stream, or a file read from its device, which reads ahead
    // of one reader in order faster than of several at once (a 256 MiB file here: 73 ms against
    // 82-91 ms for two threads taking every other MiB).
    const bool m_readsInTurn;
    std::stop_source& m_abort;
    const std::stop_token m_stop;
    ProgressReporter m_reporter;

    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::uint64_t m_changes = 0;
    std::vector<Lane> m_lanes;
    std::vector<platform::ReadBuffer> m_buffers;
    std::vector<std::uint64_t> m_filled;  // the chunk each slot holds, or kEmpty
    std::vector<std::size_t> m_lengths;
    std::vector<std::uint64_t> m_pieceValues;  // per slot, one per lane that hashes pieces
    std::optional<std::uint64_t> m_chunks;  // nothing while the end is not known yet
    std::uint64_t m_claimed = 0;            // chunks whose read has begun
    std::uint64_t m_leading = 0;            // chunks read from the start without a gap
    std::uint64_t m_leadingBytes = 0;
    std::uint64_t m_dropped = 0;  // the bytes from the start dropped from the page cache
    bool m_reading = false;
    bool m_failed = false;
};

}  // namespace

std::optional<std::size_t> ReadFully(platform::ReadOnlyFile& file, std::span<std::uint8_t> buffer,
                                     std::optional<std::uint64_t> offset) {
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

ReadStatus ReadShared(platform::ReadOnlyFile& file, std::optional<std::uint64_t> total,
                      std::span<Digester* const> digesters, const ReadControl& control) {
    std::stop_source abort;
    const std::stop_callback forward(control.stop, [&] { abort.request_stop(); });
    // One thread per digester fed in order and a second reader; when every digester hashes
    // pieces apart, each thread hashes what it reads, and every core helps.
    const auto inOrder = static_cast<std::size_t>(std::ranges::count_if(
        digesters, [](Digester* digester) { return digester->pieces() == nullptr; }));
    const std::size_t useful = inOrder > 0 ? inOrder + 1 : control.tuning.threads;
    const std::size_t threads = std::max<std::size_t>(1, std::min(control.tuning.threads, useful));
    // One slot per thread and up to three more chunks waiting to be hashed.
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

ReadStatus FeedFromMemory(std::span<const std::uint8_t> bytes,
                          std::span<Digester* const> digesters, const ReadControl& control) {
    for (Digester* digester : digesters) {
        SliceFeeder(*digester, control.stop).feed(bytes);
    }
    if (control.stop.stop_requested()) {
        return ReadStatus::Cancelled;
    }
    ProgressReporter(control, bytes.size()).completed(bytes.size());
    return ReadStatus::Complete;
}

std::uint64_t PhysicalMemory() {
    static const std::uint64_t bytes = static_cast<std::uint64_t>(::sysconf(_SC_PHYS_PAGES)) *
                                       static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return bytes;
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

}  // namespace tolvek::hashing
