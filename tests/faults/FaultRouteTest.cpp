// Every route that reads a file, under every read fault the file layer can meet: a fault that
// loses bytes is never a digest nor an "OK", and one the reader can ride out (an interrupted or
// short read, a size that reads 0, bytes appended while it reads) still gives the digest of the
// file's bytes. The window's routes run in this process; tolvek-cli runs as a program with the
// fault library preloaded.
#include <gtest/gtest.h>

#include <map>

#include "app/window/MainWindow.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"
#include "tests/window/FakeWindowSystem.h"
#include "tests/window/ManualBackground.h"
#include "tests/faults/FaultPlan.h"
#include "tests/faults/ListWindowRun.h"
#include "tests/support/ShellRun.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VectorFile.h"

namespace tolvek::faults {
namespace {

using window::Control;

// What a route showed: its exit code (0 for the window's routes) and its output.
struct Shown {
    int exitCode = 0;
    std::string text;
    bool operator==(const Shown&) const = default;
};

// The file of a case, the SHA256SUMS beside it naming it with its digest, and the values of
// the texts of tests/faults/routes.cases.
struct Subject {
    std::string file;
    std::string list;
    std::map<std::string, std::string> values;

    std::string fill(std::string text) const {
        for (const auto& [name, value] : values) {
            text = testing::Replaced(text, std::string("{").append(name).append("}"), value);
        }
        return text;
    }
};

std::string digestOf(std::string_view id, std::string_view bytes) {
    return hashing::HexText(hashing::HashText(hashing::FindAlgorithm(id)->stringRoute, bytes).digest);
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
    const std::string made = testing::FileContents(count);
    faults = made.empty() ? 0 : static_cast<unsigned>(std::stoul(made));
    return {run.exitCode, run.output};
}

// The main window's file hash through its port, as the open-file dialog names the file.
std::string windowHash(const Subject& subject, const testing::TempFolder& scratch) {
    window::testing::FakeWindowSystem windows;
    window::testing::ManualUiThread ui;
    window::testing::ManualFileJobs jobs;
    windows.exeFolder = scratch.path();
    window::MainWindow window(windows, {jobs, ui}, [] { return engine::kHashOk; });
    windows.selectPosition(Control::AlgorithmList,
                           static_cast<int>(hashing::FindAlgorithm("sha256") -
                                            hashing::AlgorithmEntries().data()));
    windows.openFileAnswers.emplace_back(subject.file);
    window.HashFileAction(Control::HashFileButton);
    jobs.run();
    ui.drain();
    return windows.text(Control::DigestField);
}

// The list window checking the SHA256SUMS beside the file: the file's status.
std::string listCheck(const Subject& subject) {
    ListWindowRun run;
    run.window.CheckList(subject.list);
    run.settle();
    if (run.port.rows.size() != 1) {
        return "?";
    }
    const window::ListRowView& row = run.port.rows[0];
    return row.status == "OK" ? "OK " + row.digests.at(0) : row.status;
}

// Runs the route over the subject under the plan; `faults` receives how many calls a fault
// changed.
Shown runRoute(const testing::Case& route, const Subject& subject, FaultPlan plan,
               const testing::TempFolder& scratch, unsigned& faults) {
    if (route.has("Arguments")) {
        std::vector<std::string> arguments;
        for (const std::string& argument : testing::SplitField(route.get("Arguments"), '|')) {
            arguments.push_back(subject.fill(argument));
        }
        plan.path = route.has("Stdin") ? std::string(kStdin) : plan.path;
        return runCli(arguments, plan, route.has("Stdin") ? subject.file : "/dev/null", scratch,
                      faults);
    }
    SetFaultPlan(plan);
    const std::string text =
        route.get("Route") == "window" ? windowHash(subject, scratch) : listCheck(subject);
    faults = FaultsMade();
    SetFaultPlan({});
    return {0, text};
}

// Whether `shown` is the route's report of a file it could not read.
bool isFailure(const testing::Case& route, const Subject& subject, const Shown& shown) {
    std::vector<std::string> texts = testing::SplitField(route.get("Fails"), '|');
    if (texts.empty()) {
        texts.emplace_back();
    }
    return shown.exitCode == std::stoi(route.get("FailExit", "0")) &&
           std::ranges::any_of(texts, [&](const std::string& text) {
               return shown.text == subject.fill(text);
           });
}

// The fault of that name.
Fault faultNamed(const std::string& name) {
    int index = 0;
    while (FaultName(static_cast<Fault>(index)) != name) {
        ++index;
    }
    return static_cast<Fault>(index);
}

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
    subject.file = folder.write("data.bin", bytes);
    const std::string sha256 = digestOf("sha256", bytes);
    subject.list = folder.write("SHA256SUMS", sha256 + "  data.bin\n");
    subject.values = {{"file", subject.file},
                      {"folder", folder.path().string()},
                      {"list", subject.list},
                      {"md5", digestOf("md5", bytes)},
                      {"sha1", digestOf("sha1", bytes)},
                      {"sha256", sha256},
                      {"listSha256", digestOf("sha256", testing::FileContents(subject.list))}};
    return subject;
}

// The records of a section of tests/faults/routes.cases: the routes, or the [Faults].
const std::vector<testing::Case>& recordsOf(const std::string& section) {
    static const std::map<std::string, std::vector<testing::Case>> sections = {
        {"", testing::ReadCaseFile("faults/routes.cases", "")},
        {"Faults", testing::ReadCaseFile("faults/routes.cases", "Faults")}};
    return sections.at(section);
}

// A route, a fault and the file's size.
using Param = std::tuple<const testing::Case*, const testing::Case*, std::size_t>;

class FaultRouteTest : public ::testing::TestWithParam<Param> {};

// An "OK" verdict: the list window's row ("OK <digest>") or a -c line ("<name>: OK"). Not any
// "OK" at all: a temporary folder's random name may hold one.
bool showsOk(const std::string& text) {
    return text.starts_with("OK ") || text.find(": OK") != std::string::npos;
}

TEST_P(FaultRouteTest, AFailureIsNeverADigestAndARiddenOutFaultGivesTheRightOne) {
    const auto& [route, fault, size] = GetParam();
    const testing::TempFolder folder;
    const testing::TempFolder scratch;
    const std::string bytes = patternBytes(size);
    const Subject subject = subjectOf(folder, bytes);
    // Mid-chunk, past the first chunk of a large file, mid-way through a small one.
    const FaultPlan plan{faultNamed(fault->get("Fault")), subject.file, bytes.size() / 2 + 7, 0};

    unsigned faults = 0;
    const Shown shown = runRoute(*route, subject, plan, scratch, faults);
    EXPECT_GT(faults, 0U) << "the fault never happened";
    const std::string expect = fault->get(route->has("Stdin") ? "FromStandardInput" : "Expect");
    if (expect == "Failure") {
        EXPECT_TRUE(isFailure(*route, subject, shown)) << shown.exitCode << ": " << shown.text;
        EXPECT_EQ(shown.text.find(subject.values.at("sha256")), std::string::npos) << shown.text;
        EXPECT_FALSE(showsOk(shown.text)) << shown.text;
        return;
    }
    Subject expected = subject;
    if (expect == "GrownDigest") {
        expected.values["sha256"] = digestOf("sha256", testing::FileContents(subject.file));
        EXPECT_EQ(testing::FileContents(subject.file).size(), bytes.size() + 4096);
    } else if (expect == "PrefixDigest") {
        expected.values["sha256"] = digestOf("sha256", std::string_view(bytes).substr(0, plan.at));
    }
    EXPECT_EQ(shown, (Shown{0, expected.fill(route->get("Shows"))})) << shown.text;
}

// Every route under every fault it can meet at every size.
std::vector<Param> everyCase() {
    std::vector<Param> cases;
    for (const testing::Case& route : recordsOf("")) {
        for (const testing::Case& fault : recordsOf("Faults")) {
            for (const std::size_t size : kSizes) {
                if (!route.has("Stdin") || fault.has("FromStandardInput")) {
                    cases.emplace_back(&route, &fault, size);
                }
            }
        }
    }
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Param>& param) {
    const auto& [route, fault, size] = param.param;
    return route->get("Name") + "_" + fault->get("Fault") + "_" + std::to_string(size);
}

INSTANTIATE_TEST_SUITE_P(EveryRoute, FaultRouteTest, ::testing::ValuesIn(everyCase()), caseName);

}  // namespace
}  // namespace tolvek::faults
