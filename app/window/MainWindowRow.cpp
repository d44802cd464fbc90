// The row below the main window's controls, when no hash shows its progress there: a note on
// the digest shown when the window suggests otherwise, else what the window offers for it.
#include "app/window/MainWindow.h"

#include <filesystem>
#include <utility>

#include "app/window/SystemPaths.h"
#include "app/hashing/AsciiText.h"

namespace tolvek::window {

using hashing::FillPlaceholders;

namespace {

constexpr int kCompareText = 8;
constexpr int kSidecarOfferText = 46;
constexpr int kDismissText = 47;
constexpr int kListOfferText = 48;
constexpr int kCheckFilesText = 49;
constexpr int kMadeWithText = 69;
constexpr int kHashAgainText = 70;
constexpr int kNamesNoFileText = 71;

}  // namespace

void MainWindow::AlgorithmChangeHandler() {
    m_noteDismissed = false;
    showRow();
}

void MainWindow::showRow() {
    if (HashRunning()) {
        return;
    }
    if (const std::optional<OfferDisplay> note = digestNote()) {
        m_windows.showOffer(*note);
    } else if (m_offer) {
        m_windows.showOffer(offerDisplay());
    } else {
        m_windows.hideOffer();
    }
}

bool MainWindow::digestFromOtherEntry() const {
    return m_digestSource.has_value() && selectedEntry() != m_digestSource->entry;
}

// The digest shown was made by another entry than the one selected, which users copy as the
// selected entry's; or renew hashed the text of a path that names no file.
std::optional<OfferDisplay> MainWindow::digestNote() const {
    if (!m_digestSource || m_noteDismissed) {
        return std::nullopt;
    }
    if (digestFromOtherEntry()) {
        return OfferDisplay{
            FillPlaceholders(LoadText(kMadeWithText), {m_digestSource->entry->caption}),
            selectedEntry() != nullptr ? LoadText(kHashAgainText) : std::string{},
            LoadText(kDismissText)};
    }
    if (m_digestSource->namesNoFile) {
        return OfferDisplay{
            FillPlaceholders(LoadText(kNamesNoFileText), {FileNameOf(m_digestSource->input)}),
            {},
            LoadText(kDismissText)};
    }
    return std::nullopt;
}

OfferDisplay MainWindow::offerDisplay() const {
    if (!m_offer->listPath.empty()) {
        const std::string list = std::filesystem::path(m_offer->listPath).filename().string();
        return {FillPlaceholders(LoadText(kListOfferText),
                                 {list, std::to_string(m_offer->listedFiles)}),
                LoadText(kCheckFilesText), LoadText(kDismissText)};
    }
    const std::string source = m_offer->sidecar.source.filename().string();
    return {FillPlaceholders(LoadText(kSidecarOfferText), {source, m_offer->sidecar.digest}),
            LoadText(kCompareText), LoadText(kDismissText)};
}

void MainWindow::lookForOffer(int job, const AlgorithmEntry& entry, const std::string& fileName,
                              const hashing::FileDigests& digests) {
    if (digests.cancelled || !digests.outcomes.front().ok) {
        return;
    }
    PendingOffer offer{digests.outcomes.front().text, {}, {}, 0, &entry};
    if (const std::optional<std::size_t> listed = ListedFiles(fileName)) {
        offer.listPath = fileName;
        offer.listedFiles = *listed;
    } else if (std::optional<SidecarDigest> sidecar =
                   FindSidecarDigest(fileName, entry, offer.shownDigest)) {
        offer.sidecar = std::move(*sidecar);
    } else {
        return;
    }
    m_background.ui.post([this, job, offer = std::move(offer)] { offerFound(job, offer); });
}

void MainWindow::offerFound(int job, PendingOffer offer) {
    if (job != m_lastJob || HashRunning() || !m_digestSource ||
        m_windows.text(Control::DigestField) != offer.shownDigest) {
        return;
    }
    m_offer = std::move(offer);
    showRow();
}

void MainWindow::AcceptOfferAction() {
    if (HashRunning()) {
        return;
    }
    if (digestNote()) {
        if (digestFromOtherEntry() && selectedEntry() != nullptr) {
            hashAgain();
        }
        return;
    }
    if (!m_offer) {
        return;
    }
    const PendingOffer accepted = *std::exchange(m_offer, std::nullopt);
    showRow();
    if (!accepted.listPath.empty()) {
        if (m_listWindow != nullptr) {
            m_listWindow->Open(*accepted.entry);
            m_listWindow->CheckList(accepted.listPath);
        }
        return;
    }
    m_windows.setText(Control::CompareField, accepted.sidecar.digest);
    CompareAction();
}

void MainWindow::DeclineOfferAction() {
    if (digestNote()) {
        m_noteDismissed = true;
    } else {
        m_offer.reset();
    }
    showRow();
}

// The input of the digest shown, with the selected entry.
void MainWindow::hashAgain() {
    const DigestSource source = *m_digestSource;
    if (source.isFile) {
        m_windows.setText(Control::PathField, source.input);
        hashFileFromField(Control::MainWindow, false);
    } else {
        hashText(source.input, source.namesNoFile);
    }
}

void MainWindow::OpenListWindowAction() {
    const AlgorithmEntry* selected = selectedEntry();
    const AlgorithmEntry* entry = selected != nullptr ? selected : entryAt(0);
    if (m_listWindow != nullptr && entry != nullptr) {
        m_listWindow->Open(*entry);
    }
}

}  // namespace tolvek::window
