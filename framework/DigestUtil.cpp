#include "framework/DigestUtil.h"

#include <array>
#include <atomic>
#include <cstring>

#include "framework/DigestInternal.h"
#include "framework/DigestStrings.h"

namespace tolvek::framework {

namespace {

// The fill values of WipeBuffer, in the order they are written.
constexpr std::array<std::uint8_t, 4> kWipeFills = {0x55, 0xAA, 0xFF, 0x00};

std::atomic<internal::ReleaseObserver> g_releaseObserver{nullptr};

// Makes the bytes written so far observable, so that the compiler cannot drop the stores to
// memory that is about to be freed or to go out of scope.
void keepStores(void* memory) {
    asm volatile("" : : "r"(memory) : "memory");
}

void wipeBytes(void* buffer, std::size_t size) {
    for (const std::uint8_t fill : kWipeFills) {
        std::memset(buffer, fill, size);
        keepStores(buffer);
    }
}

void zeroInstance(void* instance, std::size_t size) {
    std::memset(instance, 0, size);
    keepStores(instance);
    if (const internal::ReleaseObserver observer = g_releaseObserver.load()) {
        observer(instance, size);
    }
}

}  // namespace

void TDigestObject::operator delete(void* instance, std::size_t size) {
    zeroInstance(instance, size);
    // The unsized form: Clang declares the sized one only under -fsized-deallocation.
    ::operator delete(instance);
}

void TDigestObject::operator delete(void* instance, std::size_t size, std::align_val_t alignment) {
    zeroInstance(instance, size);
    ::operator delete(instance, alignment);
}

EDigestException EDigestException::FromText(int number, std::string_view argument) {
    std::string message(FrameworkText(number));
    if (const auto placeholder = message.find("%s"); placeholder != std::string::npos) {
        message.replace(placeholder, 2, argument);
    }
    return EDigestException(message);
}

std::string ShortClassName(const DigestClass* classRef) {
    if (classRef == nullptr) {
        return {};
    }
    const std::string_view name = classRef->ClassName();
    const auto underscore = name.find('_');
    return std::string(underscore == std::string_view::npos ? name : name.substr(underscore + 1));
}

void WipeBuffer(void* buffer, std::int32_t size) {
    if (size > 0) {
        wipeBytes(buffer, static_cast<std::size_t>(size));
    }
}

void WipeString(std::string& text) {
    // Growing to the capacity first reaches bytes an earlier, longer content left behind.
    text.resize(text.capacity());
    wipeBytes(text.data(), text.size());
    text.clear();
}

void SwapWords32(const std::uint32_t* source, std::uint32_t* destination, std::int32_t count) {
    for (std::int32_t index = count - 1; index >= 0; --index) {
        destination[index] = SwapBytes32(source[index]);
    }
}

namespace internal {

void SetReleaseObserver(ReleaseObserver observer) {
    g_releaseObserver.store(observer);
}

}  // namespace internal

}  // namespace tolvek::framework
