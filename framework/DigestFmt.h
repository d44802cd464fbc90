// Digest text formats: a hash object turns its digest into text by handing the digest bytes to
// a format class. Formats are never instantiated; every operation is class-level and is called
// through the format's class reference, ClassOf<TFormat_HEX> for instance.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/DigestUtil.h"

namespace tolvek::framework {

// The format classes' common base. Sizes are byte or character counts; a size of 0 or less
// means no input.
class TDigestFormat : public DigestClass {
public:
    using DigestClass::DigestClass;

    virtual std::string EncodeBytes(const void* data, std::int32_t size) const = 0;
    // Raises EDigestException when the text is not in the format.
    virtual std::string DecodeText(const char* text, std::int32_t size) const = 0;
    virtual bool CheckText(const char* text, std::int32_t size) const = 0;
};

// A format class reference; null stands for "no format given".
using FormatClassRef = const TDigestFormat*;

template <std::derived_from<TDigestFormat> T>
struct ClassDescriptor<T> {
    using Type = T;
};

// The bytes as they are.
class TFormat_Copy final : public TDigestFormat {
public:
    constexpr TFormat_Copy() : TDigestFormat("TFormat_Copy") {}

    std::string EncodeBytes(const void* data, std::int32_t size) const override;
    std::string DecodeText(const char* text, std::int32_t size) const override;
    // True exactly for a size of 0 or more.
    bool CheckText(const char* text, std::int32_t size) const override;
};

// Hexadecimal text, high digit first, written and read through the character table that
// DigitTable gives; a derived format may give another table.
class TFormat_HEX : public TDigestFormat {
public:
    constexpr TFormat_HEX() : TFormat_HEX("TFormat_HEX") {}

    // Two table digits per byte: upper-case hexadecimal with the standard table.
    std::string EncodeBytes(const void* data, std::int32_t size) const override;
    // Digits of either case; the first prefix mark ("X" or "$") discards what came before it
    // and later marks are skipped; a last digit without a partner is dropped. Anything else,
    // separators included, raises EDigestException.
    std::string DecodeText(const char* text, std::int32_t size) const override;
    // True when every character occurs somewhere in the table, separators included.
    bool CheckText(const char* text, std::int32_t size) const override;

    // The table: the sixteen digits at 0-15, the prefix marks "X" and "$" at 16-17, then the
    // separators that only CheckText accepts.
    virtual std::string_view DigitTable() const;

protected:
    constexpr explicit TFormat_HEX(std::string_view className) : TDigestFormat(className) {}
};

// The format given, or TFormat_Copy when none is: an absent format means the raw bytes.
FormatClassRef ResolveFormat(FormatClassRef format);

// The format's text of `size` bytes at `data`.
std::string Encode(const TDigestFormat& format, const void* data, std::int32_t size);

}  // namespace tolvek::framework
