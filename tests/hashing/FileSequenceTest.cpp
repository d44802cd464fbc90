// Many files in turn: every report in the order the files were added, each file hashed whole by
// each of two digesters whatever its size, fate or tuning, the digests of files hashed together
// as each alone gives them, and an end asked for by a report or the stop token.
#include <gtest/gtest.h>

#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "app/hashing/EntryVariants.h"
#include "app/hashing/FileSequence.h"
#include "app/hashing/Hashing.h"
#include "tests/hashing/RecordingDigester.h"
#include "tests/support/TempFolder.h"

namespace tolvek::hashing {
namespace {

// Small chunks, so that some files are read as they are hashed; one thread, or a few.
const ReadTuning kTunings[] = {{kReadChunk / 16, 1}, {kReadChunk / 16, 2}, {kReadChunk / 16, 4}};

// What a task's two digesters of one read saw, written on the hashing thread and read by its
// report.
struct Seen {
    ReadStatus status = ReadStatus::Cancelled;
    std::string bytes[2];
    std::size_t misalignedPieces = 0;
    FileDigests digests;
};

// What the tasks ask for in turn: nothing, an algorithm that hashes many files at once, such
// algorithms beside one that does not, and HMAC over one and BLAKE3's key derivation, which must
// not take their plain digests.
std::span<const AlgorithmEntry* const> algorithmSet(std::size_t index) {
    static const auto hmacMd5 = [] {
        EntryOptions options;
        options.hmacKey = Bytes{'k', 'e', 'y'};
        return MakeVariant(*FindAlgorithm("md5"), options).variant;
    }();
    static const auto derived = [] {
        EntryOptions options;
        options.context = "tolvek test";
        return MakeVariant(*FindAlgorithm("blake3"), options).variant;
    }();
    static const std::vector<const AlgorithmEntry*> sets[] = {
        {},
        {FindAlgorithm("md5")},
        {FindAlgorithm("sha1"), FindAlgorithm("sha256"), FindAlgorithm("md5")},
        {&*hmacMd5->entry, FindAlgorithm("md5"), FindAlgorithm("blake3")},
        {&*derived->entry, FindAlgorithm("blake3"), FindAlgorithm("sha512")},
    };
    return sets[index % std::size(sets)];
}

FileTask recordingTask(const std::string& name, std::vector<std::string>& reports,
                       std::span<const AlgorithmEntry* const> algorithms = {}) {
    const auto seen = std::make_shared<Seen>();
    const auto routes = RoutesOf(algorithms, Route::File);
    FileTask task;
    task.name = name;
    task.algorithms = algorithms;
    task.hash = [seen, routes](FileContent& content, const ReadControl& control) {
        seen->digests = HashContentWith(content, routes, control);
        RecordingDigester first;
        RecordingDigester second;
        Digester* const digesters[] = {&first, &second};
        seen->status = content.feed(digesters, control);
        seen->bytes[0] = first.bytes();
        seen->bytes[1] = second.bytes();
        seen->misalignedPieces = first.misalignedPieces() + second.misalignedPieces();
    };
    task.report = [seen, name, routes, &reports] {
        const FileDigests alone = HashFileWith(name, routes);
        EXPECT_EQ(seen->digests.outcomes.size(), alone.outcomes.size()) << name;
        for (std::size_t index = 0; index < alone.outcomes.size(); ++index) {
            EXPECT_EQ(seen->digests.outcomes[index].digest, alone.outcomes[index].digest) << name;
            EXPECT_EQ(seen->digests.outcomes[index].failure, alone.outcomes[index].failure);
        }
        const bool complete = seen->status == ReadStatus::Complete;
        EXPECT_EQ(complete, std::filesystem::exists(name)) << name;
        if (complete) {
            EXPECT_TRUE(seen->bytes[0] == FileContents(name) && seen->bytes[1] == seen->bytes[0])
                << name;
            EXPECT_EQ(seen->misalignedPieces, 0U) << name;
        }
        reports.push_back(name);
        return true;
    };
    return task;
}

TEST(FileSequence, ReportsEachFileInTheOrderAdded) {
    tolvek::testing::TempFolder folder;
    std::vector<std::string> names;
    for (const std::size_t length : {std::size_t{1}, kReadChunk / 16, kReadChunk / 16 + 1,
                                     std::size_t{0}, std::size_t{100}, 5 * kReadChunk / 16}) {
        for (int copy = 0; copy < 3; ++copy) {
            const std::string name = std::to_string(length) + "-" + std::to_string(copy);
            names.push_back(folder.write(name, PatternBytes(length + copy)));
        }
    }
    names.insert(names.begin() + 4, folder.file("missing"));
    names.insert(names.begin() + 9, "/proc/self/cmdline");
    // Several times over, so that batches go to every thread with a failure inside each.
    for (const std::vector<std::string> once = names; names.size() < 4 * once.size();) {
        names.insert(names.end(), once.begin(), once.end());
    }
    for (const ReadTuning& tuning : kTunings) {
        SCOPED_TRACE(::testing::Message() << tuning.threads << " threads");
        ReadControl control;
        control.tuning = tuning;
        std::vector<std::string> reports;
        {
            FileSequence sequence(control);
            for (std::size_t index = 0; index < names.size(); ++index) {
                ASSERT_TRUE(
                    sequence.add(recordingTask(names[index], reports, algorithmSet(index))));
                sequence.addReport([&reports] {
                    reports.push_back("note");
                    return true;
                });
            }
            ASSERT_TRUE(sequence.finish());
        }
        std::vector<std::string> expected;
        for (const std::string& name : names) {
            expected.insert(expected.end(), {name, "note"});
        }
        EXPECT_EQ(reports, expected);
    }
}

TEST(FileSequence, EndsWhenAReportSaysSoOrTheStopComes) {
    tolvek::testing::TempFolder folder;
    const std::string name = folder.write("file", PatternBytes(1000));
    for (const bool byStop : {false, true}) {
        SCOPED_TRACE(byStop ? "stop token" : "report");
        std::stop_source stop;
        ReadControl control;
        control.stop = stop.get_token();
        std::vector<std::string> reports;
        FileSequence sequence(control);
        const auto endingReport = [&] {
            reports.push_back("last");
            if (byStop) {
                stop.request_stop();
            }
            return byStop;
        };
        ASSERT_TRUE(sequence.add(recordingTask(name, reports)));
        sequence.addReport(endingReport);
        EXPECT_FALSE(sequence.finish());
        EXPECT_FALSE(sequence.add(recordingTask(name, reports)));
        sequence.addReport([&reports] {
            reports.push_back("after the end");
            return true;
        });
        EXPECT_FALSE(sequence.finish());
        EXPECT_EQ(reports, (std::vector<std::string>{name, "last"}));
    }
}

// The files of a sequence count together: once they add up to more than the tuning keeps
// cached, the rest leave the page cache as they are read, while the first ones stay.
TEST(FileSequence, FilesPastWhatIsKeptCachedLeaveThePageCache) {
    tolvek::testing::TempFolder folder;
    std::vector<std::string> names;
    for (int index = 0; index < 8; ++index) {
        names.push_back(folder.write(std::to_string(index), PatternBytes(kReadChunk / 16)));
        tolvek::testing::FileContents(names.back());
    }
    if (tolvek::testing::CachedPages(names.back()) == 0) {
        GTEST_SKIP() << "this file system keeps no page cache to drop";
    }
    ReadControl control;
    control.tuning.keepCachedUpTo = 3 * kReadChunk / 16;
    FileSequence sequence(control);
    for (const std::string& name : names) {
        FileTask task;
        task.name = name;
        task.hash = [](FileContent& content, const ReadControl& hashing) {
            RecordingDigester digester;
            Digester* const digesters[] = {&digester};
            EXPECT_EQ(content.feed(digesters, hashing), ReadStatus::Complete);
        };
        ASSERT_TRUE(sequence.add(std::move(task)));
    }
    ASSERT_TRUE(sequence.finish());
    EXPECT_NE(tolvek::testing::CachedPages(names.front()), 0U);
    EXPECT_EQ(tolvek::testing::CachedPages(names.back()), 0U);
}

}  // namespace
}  // namespace tolvek::hashing
