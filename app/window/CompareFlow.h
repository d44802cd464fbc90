// The main window's compare and clipboard: copying the digest, pasting an expected one, comparing
// the two read forgivingly, finding which entry gives the expected digest when the shown one does
// not, and comparing with a second file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/checks/ExpectedDigest.h"
#include "app/window/MainWindowState.h"

namespace tolvek::window {

class CompareFlow {
public:
    explicit CompareFlow(MainWindowState& state) : m_state(state) {}

    void copyDigest();
    void pasteDigest();
    void compare();
    void pasteAndCompare();
    void compareWithFile();
    void compareFieldDrop(const std::string& names);

private:
    // The search for the entry that gives the expected digest for DigestField's input.
    struct Identification {
        DigestSource source;
        hashing::Digest expected;
        std::vector<const AlgorithmEntry*> candidates;
        std::size_t entriesOfLength;  // DigestField's entry included when it has that length
        int digestGeneration;         // DigestField's, when the search started
    };

    // The compare's outcome boxes keep the toolkit's OK, as they always had; the boxes added
    // around them (the question, a second file that cannot be read) carry these words.
    BoxButtons ownButtons() const;
    void showEqual(const AlgorithmEntry& entry);
    void showNotEqual(const std::string& addedLine = {});
    std::optional<Identification> identification(const DigestSource& source,
                                                 const checks::ExpectedDigest& expected) const;
    void identify(Identification search);
    void identified(const Identification& search, std::span<const hashing::DigestOutcome> outcomes);
    void selectIdentified(const Identification& search, const AlgorithmEntry& entry,
                          const hashing::Digest& digest);
    void compareWithFile(const std::string& fileName);

    MainWindowState& m_state;
};

}  // namespace tolvek::window
