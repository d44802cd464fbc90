// What the list window writes out: checksum lists, one per algorithm, with names relative to the
// folder a list is saved in, and a report that keeps every row's status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/hashing/AlgorithmTable.h"

namespace tolvek::window {

// One line a list keeps: the file and the digest it is to have.
struct KeptLine {
    const hashing::AlgorithmEntry* entry = nullptr;
    hashing::Digest digest;
    std::string name;  // as the window shows it, for copies
    std::string path;  // the file, absolute or relative to the current folder
};

// The lines of one algorithm, in the rows' order.
struct AlgorithmLines {
    const hashing::AlgorithmEntry* entry = nullptr;
    std::vector<const KeptLine*> lines;
};

// The kept lines grouped by algorithm, in the order each algorithm first appears.
std::vector<AlgorithmLines> LinesByAlgorithm(const std::vector<KeptLine>& kept);

// How `path` is named in a list saved in `folder`: relative when the file lies below it, else
// absolute (`absolute` is then set).
std::string NameInFolder(const std::string& path, const std::filesystem::path& folder,
                         bool& absolute);

// The file name of one algorithm's list when a save holds several: "x.sha1" for "x.sha256".
std::filesystem::path ListNameFor(const std::filesystem::path& chosen,
                                  const hashing::AlgorithmEntry& entry);

// One row of a report: every word already in the window's language.
struct ReportRow {
    std::string name;
    std::string algorithm;
    std::string expected;  // hex, empty for a file that is only hashed
    std::string digest;    // hex, empty when the file was not read
    std::string status;
};

// A report as text ("status  algorithm  digest  name" lines and the summary) or, for a name
// ending in ".csv", as comma-separated values with a heading line.
std::string ReportText(const std::vector<ReportRow>& rows, const std::string& summary);
std::string ReportCsv(const std::vector<ReportRow>& rows);

}  // namespace tolvek::window
