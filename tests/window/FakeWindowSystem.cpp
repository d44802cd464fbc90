#include "tests/window/FakeWindowSystem.h"

#include <gtest/gtest.h>

#include "app/window/SystemPaths.h"

namespace tolvek::window::testing {

std::string FakeWindowSystem::text(Control control) const {
    const auto found = texts.find(control);
    return found != texts.end() ? found->second : std::string{};
}

void FakeWindowSystem::setText(Control control, const std::string& text) {
    texts[control] = text;
    textWrites.emplace_back(control, text);
}

void FakeWindowSystem::setListEntries(Control list, const std::vector<std::string>& entries) {
    lists[list] = entries;
    selections[list] = -1;
}

int FakeWindowSystem::selectedPosition(Control list) const {
    const auto found = selections.find(list);
    return found != selections.end() ? found->second : -1;
}

void FakeWindowSystem::selectPosition(Control list, int position) {
    const auto size = static_cast<int>(lists[list].size());
    selections[list] = position >= 0 && position < size ? position : -1;
}

std::optional<std::string> FakeWindowSystem::runOpenFileDialog(const std::string& initialName) {
    openFileInitialNames.push_back(initialName);
    if (openFileAnswers.empty()) {
        ADD_FAILURE() << "open-file dialog run without an answer";
        return std::nullopt;
    }
    std::optional<std::string> answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

StringInputResult FakeWindowSystem::runStringInputWindow(const std::string& title) {
    stringInputTitles.push_back(title);
    if (stringInputAnswers.empty()) {
        ADD_FAILURE() << "string window run without an answer";
        return {};
    }
    StringInputResult answer = stringInputAnswers.front();
    stringInputAnswers.pop_front();
    return answer;
}

void FakeWindowSystem::setClipboardText(const std::string& text) {
    ++clipboardWrites;
    clipboard = text.empty() ? std::nullopt : std::optional(text);
}

bool FakeWindowSystem::isExistingFile(const std::string& name) const {
    return IsExistingFile(name);
}

void FakeWindowSystem::showMainWindow() {
    if (windowShows++ == 0) {
        digestWhenShown = text(Control::DigestField);
        progressWhenShown = progress.has_value();
    }
}

void FakeWindowSystem::endProgram() {
    ++programEnds;
    if (whenProgramEnds) {
        whenProgramEnds();
    }
}

void FakeWindowSystem::showProgress(const ProgressDisplay& display) {
    progress = display;
    progressStates.push_back(display.state);
}

}  // namespace tolvek::window::testing
