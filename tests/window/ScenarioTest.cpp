// The main window's actions as scenarios (Scenarios.h) over the fake entries. The data folder
// shows as {data}, its own name as {dataName}; a name without a "/" in a step is a file of the
// data folder whose bytes are its name.
//
// Steps: saved SHA_LNG, selfTestFails, startUp NAMES (run to its end), begin NAMES (the
// start-up alone), select N, choose CAPTION, pick N (as the user does), language N, hash NAME
// (the dialog answering), cancelDialog, startHash NAME (left running), type TEXT,
// typeClosed TEXT, renew TEXT, drop NAMES, dropPath NAMES, compare TEXT, pasteCompare,
// compareWithFile [NAME], dropCompare NAMES, yes, no (to the last question), copy, paste,
// noteDigest (for DigestKept), set Compare|Digest TEXT, clipboard TEXT, noClipboard, accept,
// decline, cancel, close, closeButton, settle, letTimePass, report DONE TOTAL MILLISECONDS,
// answer N HEX, fail N TEXT, write NAME CONTENTS, remove NAME.
// Fields: Digest, DigestKept (since noteDigest), Path, Compare, Clipboard, ClipboardWrites,
// Note, Accept, Decline, Messages (shown since the last look), Box (the boxes shown since the
// last look, each "kind caption icon [buttons]: text"), Questions, Selected, SelectedCaption,
// Language, Base (of the language's texts), HashFileButton, AboutButton, Saved, LastFile, FilesN
// and TextsN (what entry N's routes were given), Heard (said since the last Heard), Progress,
// Subject, State, ProgressStates, Cancel, Running, Controls, Started, Providers (of the pending
// file job), Dialogs, Titles, TextWrites, FromField, Shows, ShownWith (DigestField as the window
// was first shown), ProgressWhenShown. Lists are joined by "|", an empty text in them shown as
// <empty>. "Entries = real" in its first record runs a scenario over the program's own entries.
#include <gtest/gtest.h>

#include "tests/support/ShellRun.h"
#include "tests/support/VectorFile.h"
#include "tests/window/MainWindowFixture.h"
#include "tests/window/Scenarios.h"

namespace tolvek::window::testing {
namespace {

using tolvek::testing::SplitField;

class ScenarioTest : public MainWindowTest, public ::testing::WithParamInterface<Scenario> {
public:
    ScenarioTest() : MainWindowTest(realEntries() ? hashing::AlgorithmEntries() : Table{}) {}

    using Table = std::span<const AlgorithmEntry>;
    static bool realEntries() { return GetParam().records.front().get("Entries") == "real"; }
    Table table() const { return realEntries() ? hashing::AlgorithmEntries() : entries.table(); }

    std::string name(const std::string& word) const {
        return word.empty() || word.find('/') != std::string::npos ? word : existingFile(word);
    }
    std::string names(const std::string& words) const {
        std::string all;
        for (const std::string& word : SplitField(words, ' ')) {
            all.append(all.empty() ? "" : "\r").append(name(word));
        }
        return all;
    }
    std::string withData(const std::string& text) const {
        return tolvek::testing::Replaced(text, "{data}", dataFolder.path().string());
    }
    void step(const std::string& act);
    // The boxes shown since the last look, each "kind caption icon [buttons]: text".
    std::string boxes();
    // What the window shows of `field`, the data folder's name written as in the cases.
    std::string observe(const std::string& field);
    std::string shown(const std::string& field);

    std::size_t m_questionsSeen = 0;
    std::string m_notedDigest;
};

void ScenarioTest::step(const std::string& act) {
    const std::string verb = act.substr(0, act.find(' '));
    const std::string rest = withData(act.size() > verb.size() ? act.substr(verb.size() + 1) : "");
    const std::vector<std::string> words = SplitField(rest, ' ');
    const auto number = [&](std::size_t at) { return std::stoi(words.at(at)); };
    if (verb == "choose") {
        selectAlgorithm(
            static_cast<int>(hashing::FindAlgorithm(rest) - hashing::AlgorithmEntries().data()));
    } else if (verb == "select" || verb == "pick") {
        selectAlgorithm(number(0));
        if (verb == "pick") {
            window.AlgorithmChangeHandler();
        }
    } else if (verb == "language") {
        selectLanguage(number(0));
        window.LanguageChangeHandler();
    } else if (verb == "startUp" || verb == "begin") {
        std::vector<std::string> arguments;
        std::ranges::transform(words, std::back_inserter(arguments),
                               [this](const std::string& word) { return name(word); });
        verb == "startUp" ? void(startUp(arguments)) : void(window.StartUpHandler(arguments));
    } else if (verb == "saved") {
        exeFolder.write("sha.lng", rest);
    } else if (verb == "hash") {
        hashFileFromDialog(name(rest));
    } else if (verb == "startHash" || verb == "cancelDialog") {
        windows.openFileAnswers.push_back(verb == "startHash" ? std::optional(name(rest))
                                                              : std::nullopt);
        window.HashFileAction(Control::HashFileButton);
    } else if (verb == "type" || verb == "typeClosed") {
        hashTextFromWindow(rest, verb == "type" ? ModalResult::Ok : ModalResult::Closed);
    } else if (verb == "renew") {
        windows.texts[Control::PathField] = rest;
        window.RenewHashAction();
    } else if (verb == "drop" || verb == "dropPath") {
        verb == "drop" ? window.WindowDropHandler(names(rest))
                       : window.PathFieldDropHandler(names(rest));
    } else if (verb == "compare") {
        windows.texts[Control::CompareField] = rest;
        window.CompareAction();
    } else if (verb == "compareWithFile") {
        windows.openFileAnswers.push_back(rest.empty() ? std::nullopt : std::optional(rest));
        window.CompareWithFileAction();
    } else if (verb == "dropCompare") {
        window.CompareFieldDropHandler(names(rest));
    } else if (verb == "remove") {
        std::filesystem::remove(dataFolder.file(rest));
    } else if (verb == "set") {
        windows.texts[words.at(0) == "Compare" ? Control::CompareField : Control::DigestField] =
            rest.substr(words.at(0).size() + 1);
    } else if (verb == "clipboard" || verb == "noClipboard") {
        windows.clipboard = verb == "clipboard" ? std::optional(rest) : std::nullopt;
    } else if (verb == "report") {
        jobs.report({std::stoull(words.at(0)), std::stoull(words.at(1)),
                     std::chrono::milliseconds(number(2))});
        ui.drain();
    } else if (verb == "answer" || verb == "fail") {
        const std::string given = rest.substr(words.at(0).size() + 1);
        entries.fileRoute(number(0)).answer = verb == "answer" ? Answer(given) : Failure(given);
        entries.stringRoute(number(0)).answer = entries.fileRoute(number(0)).answer;
    } else if (verb == "write") {
        dataFolder.write(words.at(0), rest.substr(words.at(0).size() + 1));
    } else {
        const std::map<std::string, std::function<void()>> plain = {
            {"accept", [this] { window.AcceptOfferAction(); }},
            {"decline", [this] { window.DeclineOfferAction(); }},
            {"cancel", [this] { window.CancelHashAction(); }},
            {"close", [this] { window.CloseHandler(); }},
            {"closeButton", [this] { window.CloseButtonAction(); }},
            {"settle", [this] { settle(); }},
            {"copy", [this] { window.CopyDigestAction(); }},
            {"noteDigest", [this] { m_notedDigest = digestField(); }},
            {"paste", [this] { window.PasteDigestAction(); }},
            {"pasteCompare", [this] { window.PasteAndCompareAction(); }},
            {"yes", [this] { windows.questions.back().answered(true); }},
            {"no", [this] { windows.questions.back().answered(false); }},
            {"selfTestFails", [this] { selfTestAnswer = engine::kHashTestFailed; }},
            {"letTimePass",
             [this] {
                 ui.letTimePass();
                 ui.drain();
             }},
        };
        ASSERT_TRUE(plain.contains(act)) << "no such step: " << act;
        plain.at(act)();
    }
}

std::string ScenarioTest::observe(const std::string& field) {
    return tolvek::testing::Replaced(
        tolvek::testing::Replaced(shown(field), dataFolder.path().string(), "{data}"),
        dataFolder.path().filename().string(), "{dataName}");
}

std::string ScenarioTest::shown(const std::string& field) {
    const auto yes = [](bool value) { return std::string(value ? "yes" : "no"); };
    const auto route = [&](const std::string& prefix) {
        return std::stoi(field.substr(prefix.size()));
    };
    if (field.starts_with("Files") || field.starts_with("Texts")) {
        const int position = route("Files");
        return Joined(field[0] == 'F' ? entries.fileRoute(position).requests()
                                      : entries.stringRoute(position).requests());
    }
    std::vector<std::string> messages;
    for (const ShownMessage& message : windows.messages) {
        messages.push_back(message.text);
    }
    const AlgorithmEntry* selected =
        hashing::EntryAt(table(), windows.selectedPosition(Control::AlgorithmList));
    const std::optional<ProgressDisplay>& progress = windows.progress;
    const std::map<std::string, std::function<std::string()>> fields = {
        {"Digest", [&] { return digestField(); }},
        {"Path", [&] { return windows.text(Control::PathField); }},
        {"Compare", [&] { return windows.text(Control::CompareField); }},
        {"Clipboard", [&] { return windows.clipboard.value_or("<none>"); }},
        {"ClipboardWrites", [&] { return std::to_string(windows.clipboardWrites); }},
        {"Note", [&] { return windows.offer ? windows.offer->text : ""; }},
        {"Accept", [&] { return windows.offer ? windows.offer->acceptCaption : "<none>"; }},
        {"Decline", [&] { return windows.offer ? windows.offer->declineCaption : "<none>"; }},
        {"Messages",
         [&] {
             windows.messages.clear();
             return Joined(messages);
         }},
        {"Questions", [&] { return std::to_string(windows.questions.size()); }},
        {"Box", [&] { return boxes(); }},
        {"DigestKept", [&] { return yes(digestField() == m_notedDigest); }},
        {"SelectedCaption",
         [&] { return selected != nullptr ? std::string(selected->caption) : "<none>"; }},
        {"Providers",
         [&] { return jobs.pending() ? std::to_string(jobs.job().providers.size()) : "<none>"; }},
        {"Subject", [&] { return progress ? progress->subject : "<none>"; }},
        {"State", [&] { return progress ? progress->state : "<none>"; }},
        {"Selected",
         [&] { return std::to_string(windows.selectedPosition(Control::AlgorithmList)); }},
        {"Language",
         [&] { return std::to_string(windows.selectedPosition(Control::LanguageList)); }},
        {"HashFileButton", [&] { return windows.text(Control::HashFileButton); }},
        {"AboutButton", [&] { return windows.text(Control::AboutButton); }},
        {"Base", [&] { return std::to_string(window.LanguageBase()); }},
        {"Saved", [&] { return savedFile(); }},
        {"LastFile", [&] { return window.LastFileName(); }},
        {"Heard", [&] { return Joined(std::exchange(windows.announcements, {})); }},
        {"Progress",
         [&] {
             return progress ? Joined({progress->subject, progress->state,
                                       std::to_string(progress->permille.value_or(-1)),
                                       progress->cancelCaption})
                             : "<none>";
         }},
        {"ProgressStates", [&] { return Joined(windows.progressStates); }},
        {"Cancel", [&] { return progress ? progress->cancelCaption : "<none>"; }},
        {"Running", [&] { return yes(window.HashRunning()); }},
        {"Controls", [&] { return yes(windows.hashControlsEnabled); }},
        {"Started", [&] { return std::to_string(jobs.started); }},
        {"Dialogs", [&] { return Joined(windows.openFileInitialNames); }},
        {"Titles", [&] { return Joined(windows.stringInputTitles); }},
        {"TextWrites", [&] { return std::to_string(windows.textWrites.size()); }},
        {"FromField", [&] { return yes(window.HashFromField()); }},
        {"Shows", [&] { return std::to_string(windows.windowShows); }},
        {"ShownWith", [&] { return windows.digestWhenShown; }},
        {"ProgressWhenShown", [&] { return yes(windows.progressWhenShown); }},
    };
    if (!fields.contains(field)) {
        ADD_FAILURE() << "no such field: " << field;
        return {};
    }
    return fields.at(field)();
}

std::string ScenarioTest::boxes() {
    static const char* const kIcons[] = {"none", "warning", "information"};
    std::vector<std::string> shown;
    const auto add = [&](const char* kind, const ShownMessage& box) {
        shown.push_back(std::string(kind) + " " + box.caption + " " +
                        kIcons[static_cast<int>(box.icon)] +
                        (box.buttons.empty() ? "" : " [" + box.buttons + "]") + ": " + box.text);
    };
    for (const ShownMessage& message : std::exchange(windows.messages, {})) {
        add("message", message);
    }
    for (; m_questionsSeen < windows.questions.size(); ++m_questionsSeen) {
        add("question", windows.questions[m_questionsSeen].box);
    }
    return Joined(shown);
}

TEST_P(ScenarioTest, EachStepShowsWhatItShould) {
    RunScenario(GetParam(), *this);
}

INSTANTIATE_TEST_SUITE_P(HashActions, ScenarioTest,
                         ::testing::ValuesIn(ScenariosOf("hash_steps.cases")), ScenarioName);
INSTANTIATE_TEST_SUITE_P(Compare, ScenarioTest,
                         ::testing::ValuesIn(ScenariosOf("compare_steps.cases")), ScenarioName);
INSTANTIATE_TEST_SUITE_P(StartUp, ScenarioTest,
                         ::testing::ValuesIn(ScenariosOf("start_steps.cases")), ScenarioName);
INSTANTIATE_TEST_SUITE_P(TheRowBelow, ScenarioTest,
                         ::testing::ValuesIn(ScenariosOf("note_steps.cases")), ScenarioName);

}  // namespace
}  // namespace tolvek::window::testing
