// The row below the main window's controls when no hash shows its progress there: a note on the
// digest shown when the window suggests otherwise (another entry made it; renew hashed the text
// of a path that names no file), else what the window offers after a file hash (the expected
// digest a checksum file beside it holds; to check the files of a list just hashed).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/checks/Sidecar.h"
#include "app/window/MainWindowState.h"

namespace tolvek::window {

class Offers final : public RowBelowControls {
public:
    // What accepting leads to, done by the rest of the main window.
    struct Actions {
        std::function<void()> hashAgain;  // the input of the digest shown, with the selected entry
        std::function<void()> compare;    // CompareField against DigestField
        std::function<void(const AlgorithmEntry& entry, const std::string& listPath)> checkList;
        // Hash the file of the digest shown with `entry`, selected, and compare with `expected`.
        std::function<void(const AlgorithmEntry& entry, const std::string& expected)> checkWith;
    };

    Offers(MainWindowState& state, Actions actions) : m_state(state), m_actions(std::move(actions)) {}

    // Looks beside the file just hashed, on the hash's worker, and posts what it finds.
    void lookFor(int run, const AlgorithmEntry& entry, const std::string& fileName,
                 const hashing::FileDigests& digests);
    void accept();
    void decline();
    // The user picked an entry of AlgorithmList: a dismissed note may apply again.
    void algorithmChanged();

    void digestChanged() override;
    void hashStarted() override;
    void show() override;

private:
    struct Offer {
        std::string shownDigest;       // as DigestField showed it when the hash ended
        // When the offer is a digest to compare: of the entry hashed, or of another one that the
        // file is then hashed with.
        checks::SidecarDigest sidecar;
        std::string listPath;          // when the offer is a list to check
        std::size_t listedFiles = 0;
        const AlgorithmEntry* entry;
    };

    void found(int run, Offer offer);
    bool digestFromOtherEntry() const;
    std::optional<OfferDisplay> digestNote() const;
    OfferDisplay offerDisplay() const;

    MainWindowState& m_state;
    Actions m_actions;
    std::optional<Offer> m_offer;
    bool m_noteDismissed = false;
    // The row's text that a screen reader was last told; empty while the row is hidden or shows
    // progress.
    std::string m_announced;
};

}  // namespace tolvek::window
