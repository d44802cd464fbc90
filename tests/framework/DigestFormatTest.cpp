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

std::int32_t sizeOf(const std::string& text) {
    return static_cast<std::int32_t>(text.size());
}

struct EncodeCase {
    FormatClassRef format;
    std::string bytesHex;
    std::int32_t size;  // -1: the whole input; other negative values as given
    std::string expected;
};

TEST(DigestFormat, Encoding) {
    const std::vector<EncodeCase> cases = {
        {ClassOf<TFormat_HEX>, "00abff", -1, "00ABFF"},
        {ClassOf<TFormat_HEX>, "0123456789abcdeffedcba9876543210", -1,
         "0123456789ABCDEFFEDCBA9876543210"},
        {ClassOf<TFormat_HEX>, "00abff", 0, ""},
        {ClassOf<TFormat_HEX>, "00abff", -5, ""},
        {ClassOf<TFormat_Copy>, "00abff", -1, HexToBytes("00abff")},
        {ClassOf<TFormat_Copy>, "00abff", 2, HexToBytes("00ab")},
        {ClassOf<TFormat_Copy>, "00abff", 0, ""},
        {ClassOf<TFormat_Copy>, "00abff", -5, ""},
    };
    for (const EncodeCase& test : cases) {
        const std::string bytes = HexToBytes(test.bytesHex);
        const std::int32_t size = test.size == -1 ? sizeOf(bytes) : test.size;
        EXPECT_EQ(Encode(*test.format, bytes.data(), size), test.expected)
            << test.format->ClassName() << " " << test.bytesHex << " " << test.size;
    }
}

struct DecodeCase {
    std::string text;
    std::optional<std::string> bytesHex;  // nothing: the text is rejected
};

TEST(DigestFormat, HexDecoding) {
    const std::vector<DecodeCase> cases = {
        {"00abFF", "00abff"}, {"$1F", "1f"},
        {"0X1F", "1f"},                            // what came before the first mark is discarded
        {"0x1F", {}},                              // a lower-case x is no mark
        {"1 F", {}},                               // separators are for CheckText only
        {"12h", {}},          {"123", "12"},       // a last digit without a partner is dropped
        {"12$34", "34"},      {"$12$34", "1234"},  // later marks are skipped
        {"X$", ""},           {"", ""},
        {"g0", {}},
    };
    for (const DecodeCase& test : cases) {
        const auto decode = [&] {
            return ClassOf<TFormat_HEX>->DecodeText(test.text.data(), sizeOf(test.text));
        };
        if (test.bytesHex) {
            EXPECT_EQ(decode(), HexToBytes(*test.bytesHex)) << test.text;
        } else {
            try {
                decode();
                ADD_FAILURE() << test.text << " was accepted";
            } catch (const EDigestException& error) {
                EXPECT_STREQ(error.what(), "Input is not an valid HEX format.") << test.text;
            }
        }
    }
    EXPECT_EQ(ClassOf<TFormat_HEX>->DecodeText("12", -3), "");
}

TEST(DigestFormat, Checking) {
    const auto hexCheck = [](const std::string& text) {
        return ClassOf<TFormat_HEX>->CheckText(text.data(), sizeOf(text));
    };
    EXPECT_TRUE(hexCheck("12h"));
    EXPECT_FALSE(hexCheck("12g"));
    EXPECT_TRUE(hexCheck("0x1F"));
    EXPECT_TRUE(hexCheck("{1 f}-[2_3]\t\r\n"));
    EXPECT_FALSE(hexCheck(std::string("1\0F", 3)));
    EXPECT_TRUE(hexCheck(""));
    EXPECT_TRUE(ClassOf<TFormat_HEX>->CheckText("g", -1));

    EXPECT_TRUE(ClassOf<TFormat_Copy>->CheckText("any\x01", 4));
    EXPECT_TRUE(ClassOf<TFormat_Copy>->CheckText("", 0));
    EXPECT_FALSE(ClassOf<TFormat_Copy>->CheckText("", -1));
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
