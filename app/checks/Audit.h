// An audit of a folder against a checksum list made of it before: which files are unchanged,
// changed, moved or renamed (the same digest under a new name), new or missing, and the list as
// the folder is now. The command line prints it; the files window may show it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/checks/ListItems.h"
#include "app/hashing/Digester.h"

namespace tolvek::checks {

enum class AuditClass { Unchanged, Changed, Moved, New, Missing, Unreadable };

// A file of the folder as it is now, hashed with the list's algorithm.
struct CurrentFile {
    std::string name;        // as the walk names it ("folder/sub/x")
    hashing::Digest digest;  // empty when the file could not be read
    int systemError = 0;     // why it could not be read
    std::string failure;
};

struct AuditFinding {
    AuditClass kind = AuditClass::Unchanged;
    std::string name;     // the file's name now; the list's name for a missing file
    std::string oldName;  // where a moved file was, as the list names it
    hashing::Digest digest;
    const CurrentFile* file = nullptr;  // null for a missing file
    const CheckItem* listed = nullptr;  // the list's line of a missing file
};

struct AuditCounts {
    std::size_t unchanged = 0;
    std::size_t changed = 0;
    std::size_t moved = 0;
    std::size_t added = 0;
    std::size_t missing = 0;
    std::size_t unreadable = 0;

    void add(AuditClass kind);
    bool allUnchanged() const { return changed + moved + added + missing + unreadable == 0; }
};

// The one algorithm of every line of `items`: `forced`, else the list's name's, else the one its
// lines share; null when the lines do not all allow it.
const hashing::AlgorithmEntry* AuditAlgorithm(const ListItems& items,
                                              const hashing::AlgorithmEntry* forced = nullptr);

// Whether the walk's `name` is the list itself or the copy an update keeps beside it (LIST~):
// neither is a file of the folder.
bool IsListOrItsCopy(const std::string& name, const std::string& listPath);

// Classifies the folder's files, in the walk's order, then the list's files found nowhere, in
// the list's order. A list's name and a walk's name mean the same file when they lead to the
// same place from the current folder. A file whose name is new but whose digest is that of a
// listed file no longer where the list puts it has moved (each listed file moves once at most);
// a moved file that also changed is new, and its old name missing.
std::vector<AuditFinding> ClassifyAudit(const std::vector<CheckItem>& baseline,
                                        const std::vector<CurrentFile>& current);

AuditCounts CountAudit(const std::vector<AuditFinding>& findings);

// Whether `name` and `path` lead to the same place from the current folder.
bool SamePlace(const std::string& name, const std::string& path);

// The list as the folder is now: a line for each file found, names relative to the list's
// folder, in BSD lines naming `tag` unless `tag` is empty. A file that could not be read keeps
// its listed digest, a missing one goes.
std::string UpdatedList(const std::vector<AuditFinding>& findings, const std::string& listPath,
                        const std::string& tag);

}  // namespace tolvek::checks
