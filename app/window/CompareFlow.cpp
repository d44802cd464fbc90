#include "app/window/CompareFlow.h"

#include <algorithm>

#include "app/checks/Identify.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/hashing/Hashing.h"
#include "app/window/SystemPaths.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace {

using hashing::DigestOutcome;
using hashing::FillPlaceholders;


// A message box text with one more line.
std::string withLine(std::string text, std::string_view line) {
    return text.append("\n").append(line);
}

// CompareField's digest, read at the length of the digest shown first, so that the same digest
// repeated counts once ("<md5> <md5>" holds no 32-byte digest there), then at every length for a
// digest of another entry.
std::optional<checks::ExpectedDigest> expectedIn(std::string_view typed,
                                                 const hashing::Digest& shown,
                                                 checks::DigestLengths lengths) {
    const std::size_t shownLength[] = {shown.size()};
    std::optional<checks::ExpectedDigest> expected = checks::ReadExpectedDigest(typed, shownLength);
    if (expected && (expected->ambiguous || expected->digest == shown)) {
        return expected;
    }
    return checks::ReadExpectedDigest(typed, lengths);
}

}  // namespace

void CompareFlow::copyDigest() {
    m_state.windows.setClipboardText(m_state.windows.text(Control::DigestField));
}

void CompareFlow::pasteDigest() {
    std::string text = m_state.windows.clipboardText().value_or(std::string{});
    // Plain text ends at its first zero byte.
    text.erase(std::min(text.find('\0'), text.size()));
    m_state.windows.setText(Control::CompareField, hashing::Trim(text));
}

void CompareFlow::pasteAndCompare() {
    pasteDigest();
    compare();
}

void CompareFlow::compare() {
    // Trimmed like a paste, so that a space or line end typed around a digest does not count.
    const std::string digest = hashing::Trim(m_state.windows.text(Control::DigestField));
    const std::string typed = hashing::Trim(m_state.windows.text(Control::CompareField));
    if (digest.empty() || typed.empty()) {
        m_state.windows.showMessage(m_state.loadText(kFieldEmptyText), std::string(kWarningCaption),
                                    MessageIcon::Warning, {});
        return;
    }
    // An error message in DigestField is no digest and equals nothing.
    if (!m_state.digestSource()) {
        showNotEqual();
        return;
    }
    const DigestSource source = *m_state.digestSource();
    if (hashing::AsciiUpper(digest) == hashing::AsciiUpper(typed)) {
        showEqual(*source.entry);
        return;
    }
    const std::optional<checks::ExpectedDigest> expected =
        expectedIn(typed, source.digest, hashing::DigestLengthsOf(m_state.entries));
    if (!expected) {
        showNotEqual();
    } else if (expected->ambiguous) {
        showNotEqual(m_state.loadText(kSeveralDigestsText));
    } else if (expected->digest == source.digest) {
        showEqual(*source.entry);
    } else if (std::optional<Identification> search = identification(source, *expected);
               search && !m_state.hashRunning()) {
        identify(std::move(*search));
    } else {
        showNotEqual();
    }
}

BoxButtons CompareFlow::ownButtons() const {
    return LoadBoxButtons([this](int number) { return m_state.loadText(number); });
}

void CompareFlow::showEqual(const AlgorithmEntry& entry) {
    std::string text = m_state.loadText(kEqualText);
    if (!entry.weakness.empty()) {
        text = withLine(std::move(text),
                        FillPlaceholders(m_state.loadText(kWeakMatchText), {entry.caption}));
    }
    m_state.windows.showMessage(text, std::string(kInformationCaption), MessageIcon::Information,
                                {});
}

void CompareFlow::showNotEqual(const std::string& addedLine) {
    const std::string text = m_state.loadText(kNotEqualText);
    m_state.windows.showMessage(addedLine.empty() ? text : withLine(text, addedLine),
                                std::string(kWarningCaption), MessageIcon::Warning, {});
}

std::optional<CompareFlow::Identification> CompareFlow::identification(
    const DigestSource& source, const checks::ExpectedDigest& expected) const {
    Identification search{source, expected.digest,
                          checks::IdentifyCandidates(m_state.entries, expected, source.entry),
                          hashing::EntriesOfLength(m_state.entries, expected.digest.size()).size(),
                          m_state.digestGeneration()};
    if (search.candidates.empty()) {
        return std::nullopt;
    }
    return search;
}

void CompareFlow::identify(Identification search) {
    if (!search.source.isFile) {
        std::vector<DigestOutcome> outcomes;
        for (const AlgorithmEntry* entry : search.candidates) {
            outcomes.push_back(hashing::HashText(entry->stringRoute, search.source.input));
        }
        identified(search, outcomes);
        return;
    }
    const std::string fileName = search.source.input;
    std::vector<const hashing::Provider*> routes =
        hashing::RoutesOf(search.candidates, hashing::Route::File);
    m_state.startHash(
        fileName, std::move(routes),
        [this, fileName] {
            return FillPlaceholders(m_state.loadText(kIdentifyingText), {FileNameOf(fileName)});
        },
        [this, search = std::move(search)](hashing::FileDigests digests) {
            if (digests.cancelled) {
                showNotEqual();
            } else {
                identified(search, digests.outcomes);
            }
        });
}

void CompareFlow::identified(const Identification& search,
                             std::span<const DigestOutcome> outcomes) {
    const checks::Identified found =
        checks::IdentifyFrom(search.candidates, outcomes, search.expected);
    if (found.failure) {
        // The input could not be read again: the same failure for every entry.
        showNotEqual(*found.failure);
        return;
    }
    if (found.matches.empty()) {
        showNotEqual(FillPlaceholders(m_state.loadText(kNoEntryMatchesText),
                                      {std::to_string(search.entriesOfLength)}));
        return;
    }
    const AlgorithmEntry& entry = *found.matches.front();
    const int foundText = search.source.isFile ? kIdentifiedFileText : kIdentifiedTextText;
    const std::string text = withLine(
        withLine(m_state.loadText(kNotEqualText),
                 FillPlaceholders(m_state.loadText(foundText), {entry.caption})),
        FillPlaceholders(m_state.loadText(kSelectEntryText), {entry.caption}));
    m_state.windows.askQuestion(text, std::string(kWarningCaption), MessageIcon::Warning,
                                ownButtons(), [this, search, &entry](bool yes) {
                                    if (yes) {
                                        selectIdentified(search, entry, search.expected);
                                    }
                                });
}

// DigestField then shows the selected entry's digest of the same input, as hashing it again
// would, unless something else has been shown there since.
void CompareFlow::selectIdentified(const Identification& search, const AlgorithmEntry& entry,
                                   const hashing::Digest& digest) {
    m_state.windows.selectPosition(Control::AlgorithmList,
                                   static_cast<int>(&entry - m_state.entries.data()));
    if (m_state.digestGeneration() == search.digestGeneration) {
        DigestSource source = search.source;
        source.entry = &entry;
        source.digest = digest;
        m_state.showDigest(std::move(source));
    } else if (m_state.row != nullptr) {
        m_state.row->show();
    }
}

void CompareFlow::compareWithFile() {
    if (m_state.hashRunning()) {
        return;
    }
    if (const std::optional<std::string> chosen =
            m_state.windows.runOpenFileDialog(m_state.lastFileName)) {
        compareWithFile(*chosen);
    }
}

void CompareFlow::compareFieldDrop(const std::string& names) {
    if (names.find('\r') == std::string::npos && !m_state.hashRunning()) {
        compareWithFile(names);
    }
}

// A second file that cannot be hashed says why in a box of its own: CompareField takes only
// digests.
void CompareFlow::compareWithFile(const std::string& fileName) {
    const AlgorithmEntry* entry = m_state.selectedEntry();
    if (entry == nullptr) {
        m_state.windows.showMessage(hashing::EngineMessage(engine::kHashUnknownType),
                                    std::string(kWarningCaption), MessageIcon::Warning,
                                    ownButtons());
        return;
    }
    m_state.startHash(
        fileName, {&entry->fileRoute}, HashSubject(*entry, fileName),
        [this, entry](hashing::FileDigests digests) {
            if (digests.cancelled) {
                return;
            }
            const DigestOutcome& outcome = digests.outcomes.front();
            if (!outcome.ok) {
                m_state.windows.showMessage(outcome.failure, std::string(kWarningCaption),
                                            MessageIcon::Warning, ownButtons());
                return;
            }
            m_state.windows.setText(Control::CompareField,
                                    hashing::ShownText(*entry, outcome.digest));
            compare();
        });
}

}  // namespace tolvek::window
