#include "app/window/Offers.h"

#include <utility>

#include "app/checks/ListItems.h"
#include "app/hashing/AsciiText.h"
#include "app/hashing/DigestText.h"
#include "app/window/SystemPaths.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace {

using hashing::FillPlaceholders;

}  // namespace

void Offers::algorithmChanged() {
    m_noteDismissed = false;
    show();
}

void Offers::digestChanged() {
    m_offer.reset();
    m_noteDismissed = false;
    show();
}

void Offers::hashStarted() {
    m_offer.reset();
    m_state.windows.hideOffer();
    m_announced.clear();
}

void Offers::show() {
    if (m_state.hashRunning()) {
        return;
    }
    std::optional<OfferDisplay> row = digestNote();
    if (!row && m_offer) {
        row = offerDisplay();
    }
    if (!row) {
        m_state.windows.hideOffer();
        m_announced.clear();
        return;
    }
    m_state.windows.showOffer(*row);
    // The row appears, or says something else, where the focus is not: a screen reader is told,
    // once.
    if (std::exchange(m_announced, row->text) != row->text) {
        m_state.windows.announce(row->text);
    }
}

bool Offers::digestFromOtherEntry() const {
    const std::optional<DigestSource>& source = m_state.digestSource();
    return source.has_value() && m_state.selectedEntry() != source->entry;
}

// The digest shown was made by another entry than the one selected, which users copy as the
// selected entry's; or renew hashed the text of a path that names no file.
std::optional<OfferDisplay> Offers::digestNote() const {
    const std::optional<DigestSource>& source = m_state.digestSource();
    if (!source || m_noteDismissed) {
        return std::nullopt;
    }
    if (digestFromOtherEntry()) {
        return OfferDisplay{
            FillPlaceholders(m_state.loadText(kMadeWithText), {source->entry->caption}),
            m_state.selectedEntry() != nullptr ? m_state.loadText(kHashAgainText) : std::string{},
            m_state.loadText(kDismissText)};
    }
    if (source->namesNoFile) {
        return OfferDisplay{
            FillPlaceholders(m_state.loadText(kNamesNoFileText), {FileNameOf(source->input)}),
            {},
            m_state.loadText(kDismissText)};
    }
    return std::nullopt;
}

OfferDisplay Offers::offerDisplay() const {
    if (!m_offer->listPath.empty()) {
        const std::string list = std::filesystem::path(m_offer->listPath).filename().string();
        return {FillPlaceholders(m_state.loadText(kListOfferText),
                                 {list, std::to_string(m_offer->listedFiles)}),
                m_state.loadText(kCheckFilesText), m_state.loadText(kDismissText)};
    }
    const checks::SidecarDigest& sidecar = m_offer->sidecar;
    const std::string source = sidecar.source.filename().string();
    const std::string digest = hashing::ShownText(*sidecar.entry, sidecar.digest);
    const std::string acceptCaption =
        sidecar.entry == m_offer->entry
            ? m_state.loadText(kCompareText)
            : FillPlaceholders(m_state.loadText(kCheckWithText), {sidecar.entry->caption});
    return {FillPlaceholders(m_state.loadText(kSidecarOfferText), {source, digest}), acceptCaption,
            m_state.loadText(kDismissText)};
}

void Offers::lookFor(int run, const AlgorithmEntry& entry, const std::string& fileName,
                     const hashing::FileDigests& digests) {
    if (digests.cancelled || !digests.outcomes.front().ok) {
        return;
    }
    Offer offer{hashing::ShownText(entry, digests.outcomes.front().digest), {}, {}, 0, &entry};
    if (const std::optional<std::vector<checks::CheckItem>> listed = checks::ListedItems(fileName)) {
        offer.listPath = fileName;
        offer.listedFiles = listed->size();
    } else if (std::optional<checks::SidecarDigest> sidecar =
                   checks::FindAnySidecarDigest(fileName, entry, m_state.entries)) {
        offer.sidecar = std::move(*sidecar);
    } else {
        return;
    }
    m_state.ui().post([this, run, offer = std::move(offer)] { found(run, offer); });
}

// Shown while DigestField still holds the digest of the hash that looked.
void Offers::found(int run, Offer offer) {
    if (run != m_state.lastHash() || m_state.hashRunning() || !m_state.digestSource() ||
        m_state.windows.text(Control::DigestField) != offer.shownDigest) {
        return;
    }
    m_offer = std::move(offer);
    show();
}

void Offers::accept() {
    if (m_state.hashRunning()) {
        return;
    }
    if (digestNote()) {
        if (digestFromOtherEntry() && m_state.selectedEntry() != nullptr) {
            m_actions.hashAgain();
        }
        return;
    }
    if (!m_offer) {
        return;
    }
    const Offer accepted = *std::exchange(m_offer, std::nullopt);
    show();
    if (!accepted.listPath.empty()) {
        m_actions.checkList(*accepted.entry, accepted.listPath);
        return;
    }
    const AlgorithmEntry& sidecarEntry = *accepted.sidecar.entry;
    const std::string expected = hashing::ShownText(sidecarEntry, accepted.sidecar.digest);
    if (&sidecarEntry != accepted.entry) {
        m_actions.checkWith(sidecarEntry, expected);
        return;
    }
    m_state.windows.setText(Control::CompareField, expected);
    m_actions.compare();
}

void Offers::decline() {
    if (digestNote()) {
        m_noteDismissed = true;
    } else {
        m_offer.reset();
    }
    show();
}

}  // namespace tolvek::window
