#include "tests/window/FakeWindowSystem.h"

#include <gtest/gtest.h>

namespace tolvek::window::testing {

std::string FakeWindowSystem::text(Control control) const {
    const auto found = texts.find(control);
    return found != texts.end() ? found->second : std::string{};
}

int FakeWindowSystem::selectedPosition(Control list) const {
    const auto found = selections.find(list);
    return found != selections.end() ? found->second : -1;
}

void FakeWindowSystem::selectPosition(Control list, int position) {
    const auto size = static_cast<int>(lists[list].size());
    selections[list] = position >= 0 && position < size ? position : -1;
}

namespace {

// The next of the answers a test queued; a window run without one fails the test.
template <class Answer>
Answer nextAnswer(std::deque<Answer>& answers, const char* window) {
    if (answers.empty()) {
        ADD_FAILURE() << window << " run without an answer";
        return {};
    }
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

std::optional<std::string> FakeWindowSystem::runOpenFileDialog(const std::string& initialName) {
    openFileInitialNames.push_back(initialName);
    return nextAnswer(openFileAnswers, "open-file dialog");
}

StringInputResult FakeWindowSystem::runStringInputWindow(const std::string& title) {
    stringInputTitles.push_back(title);
    return nextAnswer(stringInputAnswers, "string window");
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

}  // namespace tolvek::window::testing
