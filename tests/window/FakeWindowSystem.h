// A WindowSystem of plain values for the core's tests: controls are strings and positions,
// dialogs answer from queues filled by the test, and every window operation is recorded.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/window/SystemPaths.h"
#include "app/window/WindowSystem.h"

namespace tolvek::window::testing {

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    std::string buttons;  // the box's own words, "Ja|Nein", "OK"; empty for the toolkit's
};

struct AskedQuestion {
    ShownMessage box;
    std::function<void(bool yes)> answered;
};

class FakeWindowSystem final : public WindowSystem {
public:
    std::string text(Control control) const override;
    void setText(Control control, const std::string& text) override {
        texts[control] = text;
        textWrites.emplace_back(control, text);
    }
    void setListEntries(Control list, const std::vector<std::string>& entries) override {
        lists[list] = entries;
        selections[list] = -1;
    }
    int selectedPosition(Control list) const override;
    void selectPosition(Control list, int position) override;
    void setListGroups(Control list, const std::vector<ListGroupDisplay>& groups,
                       const std::vector<std::string>& tooltips) override {
        listGroups[list] = groups;
        listTooltips[list] = tooltips;
    }
    std::optional<std::string> runOpenFileDialog(const std::string& initialName) override;
    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                     const BoxButtons& buttons) override {
        messages.push_back({text, caption, icon, buttons.ok});
    }
    void askQuestion(const std::string& text, const std::string& caption, MessageIcon icon,
                     const BoxButtons& buttons, std::function<void(bool yes)> answered) override {
        const std::string words = buttons.yes.empty() ? "" : buttons.yes + "|" + buttons.no;
        questions.push_back({{text, caption, icon, words}, std::move(answered)});
    }
    StringInputResult runStringInputWindow(const std::string& title) override;
    void runAboutWindow() override {}
    std::optional<std::string> clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& text) override {
        ++clipboardWrites;
        clipboard = text.empty() ? std::nullopt : std::optional(text);
    }
    bool isExistingFile(const std::string& name) const override { return IsExistingFile(name); }
    void showProgress(const ProgressDisplay& display) override {
        progress = display;
        progressStates.push_back(display.state);
    }
    void hideProgress() override { progress.reset(); }
    void showOffer(const OfferDisplay& display) override { offer = display; }
    void hideOffer() override { offer.reset(); }
    void setAccessibleNames(const AccessibleNames& names) override { accessibleNames = names; }
    void announce(const std::string& text) override { announcements.push_back(text); }
    void setHashControlsEnabled(bool enabled) override { hashControlsEnabled = enabled; }
    void postClose() override { ++closeRequests; }
    void showMainWindow() override;
    void endProgram() override;
    void openUrl(const std::string&) override {}
    std::filesystem::path executableFolder() const override { return exeFolder; }
    std::filesystem::path configFolder() const override { return userConfigFolder; }

    // Control state.
    std::map<Control, std::string> texts;
    std::map<Control, std::vector<std::string>> lists;
    std::map<Control, std::vector<ListGroupDisplay>> listGroups;
    std::map<Control, std::vector<std::string>> listTooltips;
    std::map<Control, int> selections;
    // Every setText, in order, as (control, text).
    std::vector<std::pair<Control, std::string>> textWrites;

    // The next answers of the open-file dialog (nothing = cancelled) and the names it started
    // with.
    std::deque<std::optional<std::string>> openFileAnswers;
    std::vector<std::string> openFileInitialNames;

    std::deque<StringInputResult> stringInputAnswers;
    std::vector<std::string> stringInputTitles;

    std::vector<ShownMessage> messages;
    // The Yes/No boxes shown; a test answers one by calling its `answered`.
    std::vector<AskedQuestion> questions;
    // The progress display while it is shown, and every state it showed.
    std::optional<ProgressDisplay> progress;
    std::vector<std::string> progressStates;
    // The offer while it is shown.
    std::optional<OfferDisplay> offer;
    // The accessible texts last given, and everything announced, in order.
    AccessibleNames accessibleNames;
    std::vector<std::string> announcements;
    bool hashControlsEnabled = true;
    std::optional<std::string> clipboard;  // nothing = no plain text
    int clipboardWrites = 0;
    int closeRequests = 0;
    // What the window showed as it was first shown: DigestField, and whether the progress
    // display was there.
    int windowShows = 0;
    std::string digestWhenShown;
    bool progressWhenShown = false;
    int programEnds = 0;
    // Runs as the program is ended, to look at the state at that moment.
    std::function<void()> whenProgramEnds;
    std::filesystem::path exeFolder;
    std::filesystem::path userConfigFolder;
};

}  // namespace tolvek::window::testing
