// Every route that reads a file, under every read fault the file layer can meet: a fault that
// loses bytes is never a digest nor an "OK", and one the reader can ride out (an interrupted or
// short read, a size that reads 0, bytes appended while it reads) still gives the digest of the
// file's bytes. The window's routes run in this process; tolvek-cli runs as a program with the
// fault library preloaded.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "app/window/MainWindow.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"
#include "tests/window/FakeWindowSystem.h"
#include "tests/window/ManualBackground.h"
#include "tests/faults/FaultPlan.h"
#include "tests/faults/ListWindowRun.h"
#include "tests/support/ShellRun.h"
#include "tests/support/TempFolder.h"

namespace tolvek::faults {
namespace {

using window::Control;

// What a route showed: its exit code (0 for the window's routes) and its output.
struct Shown {
    int exitCode = 0;
    std::string text;
    bool operator==(const Shown&) const = default;
};

// The file of a case and the digests of its bytes, computed from memory.
struct Subject {
    std::string file;
    std::string list;    // a SHA256SUMS beside it naming it with its digest
    std::string folder;  // holding the file and the list
    std::string md5, sha1, sha256;
};

enum class Expect { Failure, Digest, GrownDigest, PrefixDigest };

std::string digestOf(std::string_view id, std::string_view bytes) {
    return hashing::HexText(hashing::HashText(hashing::FindAlgorithm(id)->stringRoute, bytes).digest);
}

std::string readAll(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// tolvek-cli with the fault library preloaded under `plan`, standard input from `input`.
Shown runCli(const std::vector<std::string>& arguments, const FaultPlan& plan,
             const std::string& input, const testing::TempFolder& scratch, unsigned& faults) {
    const std::string count = scratch.file("count");
    // A preloaded library ahead of a sanitizer's runtime is what this test means to do.
    std::string command = std::string("LD_PRELOAD='") + TOLVEK_FAULT_LIBRARY +
                          "' ASAN_OPTIONS=verify_asan_link_order=0 " + kFaultPlanVariable + "='" +
                          FaultPlanText(plan) + "' " + kFaultCountVariable + "='" + count +
                          "' '" + TOLVEK_CLI_PROGRAM + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    const testing::Outcome run = testing::RunIn(scratch.path(), command + " <'" + input + "'");
    faults = static_cast<unsigned>(std::stoul("0" + readAll(count)));
    return {run.exitCode, run.output};
}

struct Route {
    const char* name;
    // Runs the route over the subject under the plan; `faults` receives how many calls a fault
    // changed.
    std::function<Shown(const Subject&, const FaultPlan&, const testing::TempFolder&, unsigned&)>
        run;
    // What the route shows for the file whose SHA-256, SHA-1 and MD5 `subject` gives.
    std::function<Shown(const Subject&)> success;
    // Whether `shown` is the route's report of a file it could not read.
    std::function<bool(const Subject&, const Shown&)> isFailure;
};

// The main window's file hash through its port, as the open-file dialog names the file.
Shown windowHash(const Subject& subject, const FaultPlan& plan, const testing::TempFolder& scratch,
                 unsigned& faults) {
    window::testing::FakeWindowSystem windows;
    window::testing::ManualUiThread ui;
    window::testing::ManualFileJobs jobs;
    windows.exeFolder = scratch.path();
    window::MainWindow window(windows, {jobs, ui}, [] { return engine::kHashOk; });
    windows.selectPosition(Control::AlgorithmList,
                           static_cast<int>(hashing::FindAlgorithm("sha256") -
                                            hashing::AlgorithmEntries().data()));
    windows.openFileAnswers.emplace_back(subject.file);
    SetFaultPlan(plan);
    window.HashFileAction(Control::HashFileButton);
    jobs.run();
    ui.drain();
    faults = FaultsMade();
    SetFaultPlan({});
    return {0, windows.text(Control::DigestField)};
}

// The list window checking the SHA256SUMS beside the file: the file's status.
Shown listCheck(const Subject& subject, const FaultPlan& plan, const testing::TempFolder&,
                unsigned& faults) {
    ListWindowRun run;
    SetFaultPlan(plan);
    run.window.CheckList(subject.list);
    run.settle();
    faults = FaultsMade();
    SetFaultPlan({});
    if (run.port.rows.size() != 1) {
        return {0, "?"};
    }
    // Until a file is read its row shows the list's digest, which is no verdict; only "OK" is.
    const window::ListRowView& row = run.port.rows[0];
    return {0, row.status == "OK" ? "OK " + row.digests.at(0) : row.status};
}

std::function<Shown(const Subject&, const FaultPlan&, const testing::TempFolder&, unsigned&)>
cliWith(std::function<std::vector<std::string>(const Subject&)> arguments,
        bool fromStandardInput = false) {
    return [=](const Subject& subject, const FaultPlan& plan, const testing::TempFolder& scratch,
               unsigned& faults) {
        FaultPlan planned = plan;
        if (fromStandardInput) {
            planned.path = kStdin;
        }
        return runCli(arguments(subject), planned, fromStandardInput ? subject.file : "/dev/null",
                      scratch, faults);
    };
}

bool printsNothing(const Subject&, const Shown& shown) {
    return shown.exitCode == 1 && shown.text.empty();
}

const Route kRoutes[] = {
    {"WindowFileHash", windowHash,
     [](const Subject& subject) { return Shown{0, subject.sha256}; },
     [](const Subject&, const Shown& shown) {
         return shown.text == "Could not read file" || shown.text == "Could not open file";
     }},
    {"ListWindowCheck", listCheck,
     [](const Subject& subject) { return Shown{0, "OK " + subject.sha256}; },
     [](const Subject&, const Shown& shown) { return shown.text == "unreadable"; }},
    {"CliSingleFile",
     cliWith([](const Subject& subject) {
         return std::vector<std::string>{"-a", "sha256", subject.file};
     }),
     [](const Subject& subject) { return Shown{0, subject.sha256 + "  " + subject.file + "\n"}; },
     printsNothing},
    {"CliSeveralAlgorithms",
     cliWith([](const Subject& subject) {
         return std::vector<std::string>{"-a", "md5,sha1,sha256", subject.file};
     }),
     [](const Subject& subject) {
         const std::string name = " (" + subject.file + ") = ";
         return Shown{0, "MD5" + name + subject.md5 + "\nSHA1" + name + subject.sha1 + "\nSHA256" +
                             name + subject.sha256 + "\n"};
     },
     printsNothing},
    {"CliRecursive",
     cliWith([](const Subject& subject) {
         return std::vector<std::string>{"-a", "sha256", "-r", subject.folder};
     }),
     [](const Subject& subject) {
         // The list names itself too; its bytes are not faulted.
         return Shown{0, digestOf("sha256", readAll(subject.list)) + "  " + subject.list + "\n" +
                             subject.sha256 + "  " + subject.file + "\n"};
     },
     [](const Subject& subject, const Shown& shown) {
         return shown.exitCode == 1 && shown.text.find(subject.file) == std::string::npos;
     }},
    {"CliCheckList",
     cliWith([](const Subject& subject) { return std::vector<std::string>{"-c", subject.list}; }),
     [](const Subject&) { return Shown{0, "data.bin: OK\n"}; },
     [](const Subject&, const Shown& shown) {
         return shown == Shown{1, "data.bin: FAILED open or read\n"};
     }},
    {"CliMatch",
     cliWith([](const Subject& subject) {
         return std::vector<std::string>{"--match", subject.sha256, subject.file};
     }),
     [](const Subject& subject) { return Shown{0, subject.file + ": sha256\n"}; },
     printsNothing},
    {"CliStandardInput",
     cliWith([](const Subject&) { return std::vector<std::string>{"-a", "sha256"}; }, true),
     [](const Subject& subject) { return Shown{0, subject.sha256 + "  -\n"}; },
     printsNothing},
};

struct FaultCase {
    Fault fault;
    Expect expect;
    // A stream has no size to fall short of: cut, it simply ends there.
    Expect fromStandardInput;
};

const FaultCase kFaults[] = {
    {Fault::OpenFails, Expect::Failure, Expect::Failure},
    {Fault::ReadFails, Expect::Failure, Expect::Failure},
    {Fault::Interrupted, Expect::Digest, Expect::Digest},
    {Fault::ShortReads, Expect::Digest, Expect::Digest},
    {Fault::EndsEarly, Expect::Failure, Expect::PrefixDigest},
    {Fault::SizeReadsZero, Expect::Digest, Expect::Digest},
    {Fault::Shrinks, Expect::Failure, Expect::PrefixDigest},
    {Fault::Grows, Expect::Digest, Expect::GrownDigest},
};

// Below one read chunk a file is read whole as it is opened; above, in chunks at offsets.
constexpr std::size_t kSizes[] = {100'003, (std::size_t{3} << 20) + 123};

std::string patternBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t index = 0; index < size; ++index) {
        bytes[index] = static_cast<char>((index * 131 + index / 4099) % 251);
    }
    return bytes;
}

Subject subjectOf(const testing::TempFolder& folder, const std::string& bytes) {
    Subject subject;
    subject.folder = folder.path().string();
    subject.file = folder.write("data.bin", bytes);
    subject.md5 = digestOf("md5", bytes);
    subject.sha1 = digestOf("sha1", bytes);
    subject.sha256 = digestOf("sha256", bytes);
    subject.list = folder.write("SHA256SUMS", subject.sha256 + "  data.bin\n");
    return subject;
}

using Param = std::tuple<const Route*, FaultCase, std::size_t>;

bool isStandardInput(const Route& route) {
    return std::string_view(route.name) == "CliStandardInput";
}

class FaultRouteTest : public ::testing::TestWithParam<Param> {};

// An "OK" verdict: the list window's row ("OK <digest>") or a -c line ("<name>: OK"). Not any
// "OK" at all: a temporary folder's random name may hold one.
bool showsOk(const std::string& text) {
    return text.starts_with("OK ") || text.find(": OK") != std::string::npos;
}

TEST_P(FaultRouteTest, AFailureIsNeverADigestAndARiddenOutFaultGivesTheRightOne) {
    const auto& [route, faultCase, size] = GetParam();
    const bool standardInput = isStandardInput(*route);
    const testing::TempFolder folder;
    const testing::TempFolder scratch;
    const std::string bytes = patternBytes(size);
    const Subject subject = subjectOf(folder, bytes);
    // Mid-chunk, past the first chunk of a large file, mid-way through a small one.
    const FaultPlan plan{faultCase.fault, subject.file, bytes.size() / 2 + 7, 0};

    unsigned faults = 0;
    const Shown shown = route->run(subject, plan, scratch, faults);
    EXPECT_GT(faults, 0U) << "the fault never happened";
    const Expect expect = standardInput ? faultCase.fromStandardInput : faultCase.expect;
    if (expect == Expect::Failure) {
        EXPECT_TRUE(route->isFailure(subject, shown)) << shown.exitCode << ": " << shown.text;
        EXPECT_EQ(shown.text.find(subject.sha256), std::string::npos) << shown.text;
        EXPECT_FALSE(showsOk(shown.text)) << shown.text;
        return;
    }
    Subject expected = subject;
    if (expect == Expect::GrownDigest) {
        expected.sha256 = digestOf("sha256", readAll(subject.file));
        EXPECT_EQ(readAll(subject.file).size(), bytes.size() + 4096);
    } else if (expect == Expect::PrefixDigest) {
        expected.sha256 = digestOf("sha256", std::string_view(bytes).substr(0, plan.at));
    }
    EXPECT_EQ(shown, route->success(expected)) << shown.text;
}

// Every route under every fault at every size, but standard input, which is open before the
// program starts and is read to its end whatever its size says.
std::vector<Param> everyCase() {
    std::vector<Param> cases;
    for (const Route& route : kRoutes) {
        for (const FaultCase& faultCase : kFaults) {
            const bool applies =
                !isStandardInput(route) ||
                (faultCase.fault != Fault::OpenFails && faultCase.fault != Fault::SizeReadsZero);
            for (const std::size_t size : kSizes) {
                if (applies) {
                    cases.emplace_back(&route, faultCase, size);
                }
            }
        }
    }
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Param>& param) {
    const auto& [route, faultCase, size] = param.param;
    return std::string(route->name) + "_" + std::string(FaultName(faultCase.fault)) + "_" +
           std::to_string(size);
}

INSTANTIATE_TEST_SUITE_P(EveryRoute, FaultRouteTest, ::testing::ValuesIn(everyCase()), caseName);

}  // namespace
}  // namespace tolvek::faults
