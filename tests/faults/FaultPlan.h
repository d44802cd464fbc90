// Test-only file faults: a library that stands between the program and the C library's file
// calls and makes the calls on one file fail or misbehave as a plan says. Linked into a test
// binary it is steered with SetFaultPlan; preloaded into a program (LD_PRELOAD) it reads its
// plan from the environment variable kFaultPlanVariable.
#pragma once

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvek::faults {

enum class Fault {
    None,
    OpenFails,      // opening the file fails with `error`
    ReadFails,      // a read at or beyond `at` fails with `error` (EIO by default)
    Interrupted,    // every other read call is interrupted (EINTR) before it reads anything
    ShortReads,     // every read gives a few odd thousand bytes at most
    EndsEarly,      // the file reads as ended at `at` while its size says more
    SizeReadsZero,  // fstat gives size 0, as files under /proc do
    Shrinks,        // once the reads reach `at`, the file is cut to `at` bytes
    Grows,          // once the reads reach `at`, 4096 bytes are appended to the file
    CreateFails,    // creating a file under the name fails with `error` (EACCES: no write right)
    WriteFails,     // writes fail with `error` (ENOSPC by default) after `at` bytes
    FsyncFails,     // fsync fails with `error` (EIO by default)
    RenameFails,    // renaming onto the name fails with `error`
};

struct FaultPlan {
    Fault fault = Fault::None;
    // The files concerned: every name that contains this text, or standard input for kStdin.
    std::string path;
    std::uint64_t at = 0;
    int error = 0;  // 0: the fault's usual error number
};

// The path of a plan that concerns standard input, which is open before any call is seen.
inline constexpr std::string_view kStdin = "<stdin>";
// The plan of a program the library is preloaded into, as FaultPlanText writes it.
inline constexpr const char* kFaultPlanVariable = "TOLVEK_FAULT_PLAN";
// A file to which a preloaded library writes, as the program exits, how many faults it made.
inline constexpr const char* kFaultCountVariable = "TOLVEK_FAULT_COUNT";

// Replaces the plan of this process; files already open keep being faulted only when the new
// plan names them too. Resets the count of faults made.
void SetFaultPlan(const FaultPlan& plan);
// How many calls a fault changed since the plan was set.
unsigned FaultsMade();
// The plan as the environment variable takes it.
std::string FaultPlanText(const FaultPlan& plan);
// The fault's name in test names and messages ("ReadFails").
std::string_view FaultName(Fault fault);

}  // namespace tolvek::faults
