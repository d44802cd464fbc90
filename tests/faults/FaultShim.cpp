// The file calls of the C library, wrapped: each wrapper looks the real call up with
// dlsym(RTLD_NEXT) and, for a file the fault plan names, changes what the call does. Files the
// plan does not name pass straight through, so a test binary may link this in whole.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "tests/faults/FaultPlan.h"

namespace tolvek::faults {

namespace {

constexpr int kTrackedDescriptors = 4096;
constexpr std::size_t kShortReadLimit = 4099;
constexpr std::size_t kGrowth = 4096;

constexpr std::array<std::string_view, 13> kFaultNames = {
    "None",          "OpenFails", "ReadFails", "Interrupted", "ShortReads",
    "EndsEarly",     "SizeReadsZero", "Shrinks", "Grows",     "CreateFails",
    "WriteFails",    "FsyncFails", "RenameFails",
};

// The plan as the wrappers read it: the name under a mutex at opens, the rest as atomics on
// every call, since the reader's threads read one file at once.
std::mutex g_planMutex;
// A plain array, so that it is in place before any constructor runs: a preloaded library's
// calls may come first.
std::array<char, 4096> g_planPath{};
std::atomic<Fault> g_fault{Fault::None};
std::atomic<std::uint64_t> g_at{0};
std::atomic<int> g_error{0};
std::atomic<unsigned> g_made{0};
std::atomic<unsigned> g_calls{0};
std::atomic<bool> g_resized{false};
std::array<std::atomic<bool>, kTrackedDescriptors> g_tracked{};
std::array<std::atomic<std::uint64_t>, kTrackedDescriptors> g_written{};

template <class Function>
Function* real(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

#define TOLVEK_REAL(name) \
    static auto* const real_##name = real<decltype(::name)>(#name)

int errorOr(int usual) {
    const int error = g_error.load();
    return error != 0 ? error : usual;
}

bool isTracked(int descriptor) {
    return descriptor >= 0 && descriptor < kTrackedDescriptors && g_tracked[descriptor].load();
}

bool isPlanned(const char* path) {
    if (path == nullptr || g_fault.load() == Fault::None) {
        return false;
    }
    const std::lock_guard lock(g_planMutex);
    const std::string_view planned = g_planPath.data();
    return !planned.empty() && planned != kStdin && std::strstr(path, g_planPath.data()) != nullptr;
}

void track(int descriptor, bool tracked) {
    if (descriptor >= 0 && descriptor < kTrackedDescriptors) {
        g_tracked[descriptor] = tracked;
        g_written[descriptor] = 0;
    }
}

int fail(int error) {
    ++g_made;
    errno = error;
    return -1;
}

Fault planFor(int descriptor) {
    return isTracked(descriptor) ? g_fault.load() : Fault::None;
}

// The file behind `descriptor` opened again for writing, to cut or lengthen it behind the
// reader's back.
void resize(int descriptor, bool grow) {
    if (g_resized.exchange(true)) {
        return;
    }
    TOLVEK_REAL(open);
    TOLVEK_REAL(write);
    TOLVEK_REAL(close);
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    const int writer = real_open(self.c_str(), O_WRONLY | (grow ? O_APPEND : 0));
    if (writer < 0) {
        return;
    }
    bool done = false;
    if (grow) {
        const std::string tail(kGrowth, 'G');
        done = real_write(writer, tail.data(), tail.size()) == static_cast<ssize_t>(kGrowth);
    } else {
        done = ::ftruncate(writer, static_cast<off_t>(g_at.load())) == 0;
    }
    real_close(writer);
    g_made += done ? 1 : 0;
}

// A read of up to `count` bytes at `offset` under the plan: the count it may have, or a
// result the call gives instead of reading (-1 with errno set, or 0 for an early end).
struct ReadDecision {
    std::size_t count;
    std::optional<ssize_t> instead;
};

ReadDecision decideRead(int descriptor, std::uint64_t offset, std::size_t count) {
    const std::uint64_t at = g_at.load();
    const std::size_t beforeAt =
        offset < at ? static_cast<std::size_t>(std::min<std::uint64_t>(count, at - offset)) : 0;
    switch (planFor(descriptor)) {
    case Fault::ReadFails:
        if (offset >= at) {
            return {count, fail(errorOr(EIO))};
        }
        return {beforeAt, std::nullopt};
    case Fault::EndsEarly:
        if (offset >= at) {
            ++g_made;
            return {count, 0};
        }
        return {beforeAt, std::nullopt};
    case Fault::Interrupted:
        if (g_calls++ % 2 == 0) {
            return {count, fail(EINTR)};
        }
        return {count, std::nullopt};
    case Fault::ShortReads: {
        const std::size_t limit = 1 + (g_calls++ * 7919) % kShortReadLimit;
        g_made += count > limit ? 1 : 0;
        return {std::min(count, limit), std::nullopt};
    }
    case Fault::Shrinks:
    case Fault::Grows:
        if (offset + count > at) {
            resize(descriptor, planFor(descriptor) == Fault::Grows);
        }
        return {count, std::nullopt};
    default:
        return {count, std::nullopt};
    }
}

// The error an open of `path` gets under the plan instead of opening, or 0.
int openRefusal(const char* path, int flags) {
    if (!isPlanned(path)) {
        return 0;
    }
    const Fault fault = g_fault.load();
    if (fault == Fault::OpenFails || (fault == Fault::CreateFails && (flags & O_CREAT) != 0)) {
        return errorOr(EACCES);
    }
    return 0;
}

mode_t modeOf(int flags, va_list arguments) {
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

// The path a call names: `path` within the folder `folder` when it is relative to one, which
// the reader does to look up a folder's files by their last part.
std::string namedPath(int folder, const char* path) {
    if (g_fault.load() == Fault::None || path == nullptr) {
        return "";
    }
    if (folder == AT_FDCWD || path[0] == '/') {
        return path;
    }
    const std::string link = "/proc/self/fd/" + std::to_string(folder);
    std::array<char, 4096> target{};
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size() - 1);
    return length < 0 ? path : std::string(target.data(), length) + "/" + path;
}

// The whole open family, as openat: refused under the plan, else opened for real and followed
// when the plan names the file.
int plannedOpen(int folder, const char* path, int flags, mode_t mode) {
    const std::string named = namedPath(folder, path);
    if (const int refusal = openRefusal(named.c_str(), flags)) {
        return fail(refusal);
    }
    TOLVEK_REAL(openat);
    const int descriptor = real_openat(folder, path, flags, mode);
    if (descriptor >= 0) {
        track(descriptor, isPlanned(named.c_str()));
    }
    return descriptor;
}

// A read of up to `count` bytes at `offset` under the plan; `readBytes(count)` reads for real.
template <class Read>
ssize_t plannedRead(int descriptor, std::uint64_t offset, std::size_t count, Read readBytes) {
    const ReadDecision decision = decideRead(descriptor, offset, count);
    return decision.instead ? *decision.instead : readBytes(decision.count);
}

// A file's status as the plan has it: size 0 under SizeReadsZero.
template <class Status>
int plannedStatus(Fault fault, int result, Status* status) {
    if (result == 0 && fault == Fault::SizeReadsZero && S_ISREG(status->st_mode)) {
        ++g_made;
        status->st_size = 0;
    }
    return result;
}

void writeCountAtExit() {
    const char* const countFile = std::getenv(kFaultCountVariable);
    if (countFile == nullptr) {
        return;
    }
    if (std::FILE* file = std::fopen(countFile, "w")) {
        std::fprintf(file, "%u\n", g_made.load());
        std::fclose(file);
    }
}

// A preloaded library takes its plan from the environment before the program starts.
[[gnu::constructor]] void planFromEnvironment() {
    const char* const text = std::getenv(kFaultPlanVariable);
    if (text == nullptr) {
        return;
    }
    char name[32] = {};
    unsigned long long at = 0;
    int error = 0;
    int pathStart = 0;
    if (std::sscanf(text, "%31[^,],%llu,%d,%n", name, &at, &error, &pathStart) != 3 ||
        pathStart == 0) {
        return;
    }
    FaultPlan plan{Fault::None, text + pathStart, at, error};
    for (std::size_t index = 0; index < kFaultNames.size(); ++index) {
        if (kFaultNames[index] == name) {
            plan.fault = static_cast<Fault>(index);
        }
    }
    SetFaultPlan(plan);
    std::atexit(writeCountAtExit);
}

}  // namespace

void SetFaultPlan(const FaultPlan& plan) {
    {
        const std::lock_guard lock(g_planMutex);
        g_planPath.fill('\0');
        plan.path.copy(g_planPath.data(), g_planPath.size() - 1);
    }
    for (int descriptor = 0; descriptor < kTrackedDescriptors; ++descriptor) {
        track(descriptor, false);
    }
    g_at = plan.at;
    g_error = plan.error;
    g_made = 0;
    g_calls = 0;
    g_resized = false;
    g_fault = plan.fault;
    track(STDIN_FILENO, plan.fault != Fault::None && plan.path == kStdin);
}

unsigned FaultsMade() {
    return g_made.load();
}

std::string FaultPlanText(const FaultPlan& plan) {
    return std::string(FaultName(plan.fault)) + "," + std::to_string(plan.at) + "," +
           std::to_string(plan.error) + "," + plan.path;
}

std::string_view FaultName(Fault fault) {
    return kFaultNames.at(static_cast<std::size_t>(fault));
}

}  // namespace tolvek::faults

using namespace tolvek::faults;

// The mode that an open creating a file passes after its flags.
#define TOLVEK_MODE_AFTER(flags)                            \
    mode_t mode = 0;                                        \
    {                                                       \
        va_list arguments;                                  \
        va_start(arguments, flags);                         \
        mode = modeOf(flags, arguments);                    \
        va_end(arguments);                                  \
    }

extern "C" {

int open(const char* path, int flags, ...) {
    TOLVEK_MODE_AFTER(flags);
    return plannedOpen(AT_FDCWD, path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
    TOLVEK_MODE_AFTER(flags);
    return plannedOpen(folder, path, flags, mode);
}

int close(int descriptor) {
    track(descriptor, false);
    TOLVEK_REAL(close);
    return real_close(descriptor);
}

ssize_t read(int descriptor, void* buffer, size_t count) {
    TOLVEK_REAL(read);
    if (!isTracked(descriptor)) {
        return real_read(descriptor, buffer, count);
    }
    const off_t position = ::lseek(descriptor, 0, SEEK_CUR);
    return plannedRead(descriptor, position < 0 ? 0 : static_cast<std::uint64_t>(position), count,
                       [&](std::size_t allowed) { return real_read(descriptor, buffer, allowed); });
}

ssize_t pread(int descriptor, void* buffer, size_t count, off_t offset) {
    TOLVEK_REAL(pread);
    return plannedRead(descriptor, static_cast<std::uint64_t>(offset), count,
                       [&](std::size_t allowed) {
                           return real_pread(descriptor, buffer, allowed, offset);
                       });
}

// O_LARGEFILE and a 64-bit offset change nothing on 64-bit systems.
int open64(const char* path, int flags, ...) __attribute__((alias("open")));
int openat64(int folder, const char* path, int flags, ...) __attribute__((alias("openat")));
ssize_t pread64(int descriptor, void* buffer, size_t count, off64_t offset)
    __attribute__((alias("pread")));

int fstat(int descriptor, struct stat* status) noexcept {
    TOLVEK_REAL(fstat);
    return plannedStatus(planFor(descriptor), real_fstat(descriptor, status), status);
}

int fstat64(int descriptor, struct stat64* status) noexcept {
    TOLVEK_REAL(fstat64);
    return plannedStatus(planFor(descriptor), real_fstat64(descriptor, status), status);
}

// A look by name, as a named file gets before it is opened, sees what the open would.
int fstatat(int folder, const char* path, struct stat* status, int flags) noexcept {
    TOLVEK_REAL(fstatat);
    const Fault fault = isPlanned(namedPath(folder, path).c_str()) ? g_fault.load() : Fault::None;
    return plannedStatus(fault, real_fstatat(folder, path, status, flags), status);
}

int fstatat64(int folder, const char* path, struct stat64* status, int flags) noexcept
    __attribute__((alias("fstatat")));

ssize_t write(int descriptor, const void* buffer, size_t count) {
    TOLVEK_REAL(write);
    if (planFor(descriptor) != Fault::WriteFails) {
        return real_write(descriptor, buffer, count);
    }
    const std::uint64_t written = g_written[descriptor].load();
    const std::uint64_t at = g_at.load();
    if (written >= at) {
        return fail(errorOr(ENOSPC));
    }
    const ssize_t result = real_write(
        descriptor, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(count, at - written)));
    if (result > 0) {
        g_written[descriptor] += static_cast<std::uint64_t>(result);
    }
    return result;
}

int fsync(int descriptor) {
    TOLVEK_REAL(fsync);
    if (planFor(descriptor) == Fault::FsyncFails) {
        return fail(errorOr(EIO));
    }
    return real_fsync(descriptor);
}

int rename(const char* from, const char* to) noexcept {
    TOLVEK_REAL(rename);
    if (g_fault.load() == Fault::RenameFails && isPlanned(to)) {
        return fail(errorOr(EIO));
    }
    return real_rename(from, to);
}

}  // extern "C"
