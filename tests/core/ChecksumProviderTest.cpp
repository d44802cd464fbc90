// The checksum entries of the list: one function on the file and the string route, shown as
// "%x" numbers.
#include <gtest/gtest.h>

#include <sstream>

#include "app/core/AlgorithmTable.h"
#include "tests/support/TempFolder.h"

namespace tolvek::app {
namespace {

const AlgorithmEntry& entryNamed(std::string_view id) {
    const AlgorithmEntry* entry = FindAlgorithm(id);
    EXPECT_NE(entry, nullptr) << id;
    return *entry;
}

TEST(ChecksumEntries, PositionsCaptionsAndOneProviderPerEntry) {
    const struct {
        int position;
        std::string_view id;
        std::string_view caption;
    } entries[] = {{18, "crc32", "CRC32"}, {19, "crc16", "CRC16"}, {20, "crc16arc", "ARC-CRC"}};
    for (const auto& [position, id, caption] : entries) {
        const AlgorithmEntry* entry = AlgorithmAt(position);
        ASSERT_NE(entry, nullptr) << position;
        EXPECT_EQ(entry->id, id);
        EXPECT_EQ(entry->caption, caption);
        EXPECT_EQ(&entry->fileRoute, &entry->stringRoute) << caption;
    }
}

// Values from the CRC reference list and python zlib.crc32 ("ae" is 0x00e7ddce); printed without
// leading zeros, 0 as "0".
const struct TextCase {
    std::string_view id;
    std::string text;
    std::string shown;
} kTextCases[] = {
    {"crc32", "123456789", "cbf43926"},
    {"crc16", "123456789", "31c3"},
    {"crc16arc", "123456789", "bb3d"},
    {"crc32", "a", "e8b7be43"},
    {"crc16", "a", "7c87"},
    {"crc16arc", "a", "e8c1"},
    {"crc32", "ae", "e7ddce"},
    {"crc16", "checksum", "25f"},
    {"crc32", "", "0"},
    {"crc16", "", "0"},
    {"crc16arc", "", "0"},
};

TEST(ChecksumEntries, StringFileAndStreamRoutesShowTheSameNumber) {
    testing::TempFolder folder;
    for (const auto& [id, text, shown] : kTextCases) {
        SCOPED_TRACE(std::string(id) + " \"" + text + "\"");
        const AlgorithmEntry& entry = entryNamed(id);
        const DigestOutcome fromText = entry.stringRoute.hashText(text);
        EXPECT_TRUE(fromText.ok);
        EXPECT_EQ(fromText.text, shown);
        const DigestOutcome fromFile = entry.fileRoute.hashFile(folder.write("data", text));
        EXPECT_TRUE(fromFile.ok);
        EXPECT_EQ(fromFile.text, shown);
        std::istringstream stream(text);
        const DigestOutcome fromStream = entry.fileRoute.hashStream(stream);
        EXPECT_TRUE(fromStream.ok);
        EXPECT_EQ(fromStream.text, shown);
    }
}

TEST(ChecksumEntries, FileFailuresGiveTheEngineMessage) {
    testing::TempFolder folder;
    for (const std::string_view id : {"crc32", "crc16", "crc16arc"}) {
        const DigestOutcome missing = entryNamed(id).fileRoute.hashFile(folder.file("missing"));
        EXPECT_FALSE(missing.ok);
        EXPECT_EQ(missing.text, "Could not open file") << id;
    }
}

}  // namespace
}  // namespace tolvek::app
