// The digest formats, class names, and the wipe and byte-order helpers.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "framework/DigestFmt.h"
#include "framework/DigestHashMD4.h"
#include "tests/support/VectorFile.h"

namespace tolvek::framework {
namespace {

using testing::HexToBytes;

// The records of one section of tests/framework/formats.cases.
std::vector<testing::Case> formatCases(const std::string& section) {
    return testing::ReadCaseFile("framework/formats.cases", section);
}

FormatClassRef formatOf(const testing::Case& test) {
    if (test.get("Format") == "Copy") {
        return ClassOf<TFormat_Copy>;
    }
    return ClassOf<TFormat_HEX>;
}

// The Size of a case, else the length of `text`.
std::int32_t sizeOf(const testing::Case& test, const std::string& text) {
    return test.has("Size") ? std::stoi(test.get("Size")) : static_cast<std::int32_t>(text.size());
}

TEST(DigestFormat, Encoding) {
    for (const testing::Case& test : formatCases("Encode")) {
        const std::string bytes = test.get("Bytes");
        EXPECT_EQ(Encode(*formatOf(test), bytes.data(), sizeOf(test, bytes)), test.get("Text"))
            << test.where;
    }
}

TEST(DigestFormat, HexDecoding) {
    for (const testing::Case& test : formatCases("Decode")) {
        const std::string text = test.get("Text");
        try {
            const std::string bytes =
                ClassOf<TFormat_HEX>->DecodeText(text.data(), sizeOf(test, text));
            EXPECT_TRUE(test.has("Bytes")) << test.where << " was accepted";
            EXPECT_EQ(bytes, test.get("Bytes")) << test.where;
        } catch (const EDigestException& error) {
            EXPECT_FALSE(test.has("Bytes")) << test.where << " was refused";
            EXPECT_STREQ(error.what(), "Input is not an valid HEX format.") << test.where;
        }
    }
}

TEST(DigestFormat, Checking) {
    for (const testing::Case& test : formatCases("Check")) {
        const std::string text = test.get("Text");
        EXPECT_EQ(formatOf(test)->CheckText(text.data(), sizeOf(test, text)),
                  test.get("Valid") == "yes")
            << test.where;
    }
    EXPECT_EQ(ClassOf<TFormat_Copy>->DecodeText("a\0b", 3), std::string("a\0b", 3));
}

// A format of its own table: encoding, decoding, checking and the error all follow it.
class TFormat_HEXLower final : public TFormat_HEX {
public:
    constexpr TFormat_HEXLower() : TFormat_HEX("TFormat_HEXLower") {}
    std::string_view DigitTable() const override { return "0123456789abcdef#%"; }
};

TEST(DigestFormat, DerivedTableIsUsedThroughout) {
    const FormatClassRef format = ClassOf<TFormat_HEXLower>;
    EXPECT_EQ(format->EncodeBytes("\x0a\xbc", 2), "0abc");
    EXPECT_EQ(format->DecodeText("ff#0abc", 7), HexToBytes("0abc"));
    EXPECT_FALSE(format->CheckText("0a h", 4));
    EXPECT_THROW(
        {
            try {
                format->DecodeText("$1", 2);
            } catch (const EDigestException& error) {
                EXPECT_STREQ(error.what(), "Input is not an valid HEXLower format.");
                throw;
            }
        },
        EDigestException);
}

TEST(DigestFormat, AbsentFormatIsTheRawBytes) {
    EXPECT_EQ(ResolveFormat(nullptr), ClassOf<TFormat_Copy>);
    EXPECT_EQ(ResolveFormat(ClassOf<TFormat_HEX>), ClassOf<TFormat_HEX>);
}

TEST(DigestUtil, ShortClassName) {
    const DigestClass withoutUnderscore("TDigestHash");
    const DigestClass twoUnderscores("TFormat_HEX_2");
    EXPECT_EQ(ShortClassName(ClassOf<TFormat_HEX>), "HEX");
    EXPECT_EQ(ShortClassName(ClassOf<TFormat_Copy>), "Copy");
    EXPECT_EQ(ShortClassName(ClassOf<THash_MD5>), "MD5");
    EXPECT_EQ(ShortClassName(&withoutUnderscore), "TDigestHash");
    EXPECT_EQ(ShortClassName(&twoUnderscores), "HEX_2");
    EXPECT_EQ(ShortClassName(nullptr), "");
}

TEST(DigestUtil, WipeBufferZeroesExactlyTheRange) {
    for (const std::int32_t size : {-4, 0, 1, 5, 12}) {
        std::array<std::uint8_t, 16> bytes;
        bytes.fill(0x37);
        WipeBuffer(bytes.data() + 2, size);
        for (std::size_t index = 0; index < bytes.size(); ++index) {
            const bool wiped = index >= 2 && static_cast<std::int32_t>(index) < 2 + size;
            EXPECT_EQ(bytes[index], wiped ? 0 : 0x37) << size << " at " << index;
        }
    }
}

TEST(DigestUtil, WipeStringEmptiesOnlyItsOwnText) {
    std::string text = "sss";
    const std::string shared = text;
    WipeString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(shared, "sss");
}

TEST(DigestUtil, SwapWords) {
    EXPECT_EQ(SwapBytes32(0x01020304), 0x04030201u);
    const std::array<std::uint32_t, 3> source = {0x01020304, 0xA0B0C0D0, 0x000000FF};
    std::array<std::uint32_t, 3> destination = {7, 7, 7};
    SwapWords32(source.data(), destination.data(), 2);
    EXPECT_EQ(destination, (std::array<std::uint32_t, 3>{0x04030201, 0xD0C0B0A0, 7}));
    std::array<std::uint32_t, 3> inPlace = source;
    SwapWords32(inPlace.data(), inPlace.data(), 3);
    EXPECT_EQ(inPlace, (std::array<std::uint32_t, 3>{0x04030201, 0xD0C0B0A0, 0xFF000000}));
    SwapWords32(inPlace.data(), inPlace.data(), 0);
    SwapWords32(inPlace.data(), inPlace.data(), -1);
    EXPECT_EQ(inPlace[0], 0x04030201u);
}

}  // namespace
}  // namespace tolvek::framework
