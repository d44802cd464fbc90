// The floor of the class hash framework: class references, the root object whose memory is
// zeroed when it is released, the framework's exception, and the wipe and byte-order helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tolvek::framework {

// A class reference: a value that names a framework class and offers the class's class-level
// operations without an instance. Every class has one constant descriptor object, derived from
// DigestClass, and ClassOf<T> points at T's. The hash classes' descriptors (HashClass in
// DigestHash.h) add the digest and block lengths, a factory and whole-stream hashing; a format
// class (DigestFmt.h) is never instantiated, so its descriptor is the format object itself.
class DigestClass {
public:
    constexpr explicit DigestClass(std::string_view className) : m_className(className) {}

    constexpr std::string_view ClassName() const { return m_className; }

private:
    std::string_view m_className;
};

// Which descriptor type serves framework class T; each family of classes specialises it.
template <class T>
struct ClassDescriptor;

template <class T>
inline constexpr typename ClassDescriptor<T>::Type kClassDescriptor{};

// The class reference of framework class T.
template <class T>
inline constexpr const typename ClassDescriptor<T>::Type* ClassOf = &kClassDescriptor<T>;

// Root of every framework object. When an instance is deleted, its whole memory (the full size
// of the most derived class) is overwritten with zeros after the destructors have run and
// before it goes back to the allocator, so no released object leaves state behind.
class TDigestObject {
public:
    TDigestObject() = default;
    TDigestObject(const TDigestObject&) = delete;
    TDigestObject& operator=(const TDigestObject&) = delete;
    virtual ~TDigestObject() = default;

    static void operator delete(void* instance, std::size_t size);
    static void operator delete(void* instance, std::size_t size, std::align_val_t alignment);
};

// The one exception class of the errors the framework raises itself.
class EDigestException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // The exception with framework text `number`; `argument` replaces its "%s".
    static EDigestException FromText(int number, std::string_view argument = {});
};

// The class's name without everything up to and including its first "_" ("THash_MD5" gives
// "MD5"); a name without "_" whole; the empty text for an absent class.
std::string ShortClassName(const DigestClass* classRef);

// Overwrites `size` bytes four times, with 0x55, 0xAA, 0xFF and finally 0x00. A size of 0 or
// less does nothing.
void WipeBuffer(void* buffer, std::int32_t size);

// Wipes every byte the string's storage holds, then empties the string.
void WipeString(std::string& text);

constexpr std::uint32_t SwapBytes32(std::uint32_t word) {
    return __builtin_bswap32(word);
}

// destination[i] = SwapBytes32(source[i]) for i from count - 1 down to 0; the two may be the
// same array. A count of 0 or less does nothing.
void SwapWords32(const std::uint32_t* source, std::uint32_t* destination, std::int32_t count);

}  // namespace tolvek::framework
