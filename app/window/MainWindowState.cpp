#include "app/window/MainWindowState.h"

#include <utility>

#include "app/hashing/DigestText.h"
#include "app/window/Languages.h"
#include "app/window/StringTable.h"
#include "app/window/SystemPaths.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace {


}  // namespace

std::function<std::string()> HashSubject(const AlgorithmEntry& entry,
                                         const std::string& fileName) {
    return [&entry, fileName] { return std::string(entry.caption) + ": " + FileNameOf(fileName); };
}

MainWindowState::MainWindowState(WindowSystem& windowSystem, Background background,
                                 std::span<const AlgorithmEntry> table)
    : windows(windowSystem),
      entries(table),
      m_run(background),
      m_languageBase(kLanguages[kEnglishPosition].block) {}

std::string MainWindowState::loadText(int number) const {
    return StringTableText(m_languageBase + number).value_or(std::string{});
}

const AlgorithmEntry* MainWindowState::entryAt(int position) const {
    return hashing::EntryAt(entries, position);
}

const AlgorithmEntry* MainWindowState::selectedEntry() const {
    return entryAt(windows.selectedPosition(Control::AlgorithmList));
}

void MainWindowState::showDigest(DigestSource source) {
    const std::string text = hashing::ShownText(*source.entry, source.digest);
    setDigestField(text, std::move(source));
}

void MainWindowState::showFailure(const std::string& text) {
    setDigestField(text, std::nullopt);
}

void MainWindowState::setDigestField(const std::string& text, std::optional<DigestSource> source) {
    windows.setText(Control::DigestField, text);
    m_digestSource = std::move(source);
    ++m_digestGeneration;
    if (row != nullptr) {
        row->digestChanged();
    }
}

void MainWindowState::startHash(const std::string& fileName,
                                std::vector<const hashing::Provider*> providers,
                                std::function<std::string()> subject,
                                std::function<void(hashing::FileDigests)> ended,
                                std::function<void(int, const hashing::FileDigests&)> onWorker) {
    m_hashShown = {std::move(subject), false, std::nullopt};
    if (row != nullptr) {
        row->hashStarted();
    }
    windows.setHashControlsEnabled(false);
    m_run.start(fileName, std::move(providers),
                {[this](const hashing::ReadProgress& progress) { hashProgressed(progress); },
                 [this, ended = std::move(ended)](hashing::FileDigests digests) {
                     hashEnded(ended, std::move(digests));
                 },
                 std::move(onWorker)});
}

void MainWindowState::hashProgressed(const hashing::ReadProgress& progress) {
    // Hashes that end within a moment show nothing extra.
    if (!m_hashShown.progressShown && progress.elapsed < kProgressAppearsAfter) {
        return;
    }
    showWindowFirstTime();
    m_hashShown.progressShown = true;
    m_hashShown.lastPermille = hashing::ProgressPermille(progress);
    windows.showProgress({m_hashShown.subject(), hashing::ProgressLine(progress, progressWords()),
                          m_hashShown.lastPermille, loadText(kCancelText)});
}

void MainWindowState::hashEnded(const std::function<void(hashing::FileDigests)>& ended,
                                hashing::FileDigests digests) {
    windows.setHashControlsEnabled(true);
    if (digests.cancelled) {
        windows.showProgress({m_hashShown.subject(), loadText(kCancelledText),
                              m_hashShown.lastPermille, {}});
    } else if (m_hashShown.progressShown) {
        windows.hideProgress();
    }
    ended(std::move(digests));
    if (row != nullptr) {
        row->show();
    }
    showWindowFirstTime();
}

hashing::ProgressWords MainWindowState::progressWords() const {
    hashing::ProgressWords words;
    words.of = loadText(kProgressOfText);
    words.left = loadText(kProgressLeftText);
    for (std::size_t unit = 0; unit < words.units.size(); ++unit) {
        words.units[unit] = loadText(kFirstUnitText + static_cast<int>(unit));
    }
    words.decimalSeparator = loadText(kDecimalSeparatorText);
    return words;
}

void MainWindowState::showWindowFirstTime() {
    if (std::exchange(m_windowToBeShown, false)) {
        windows.showMainWindow();
    }
}

}  // namespace tolvek::window
