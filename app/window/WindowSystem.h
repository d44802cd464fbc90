// The window operations the main window's actions need: one abstract port that the Qt front end
// implements with widgets and the tests implement with plain values.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tolvek::window {

// Every control of the main window, and the window itself (whose text is its title).
enum class Control {
    MainWindow,
    AlgorithmList,
    HashStringButton,
    HashFileButton,
    PathField,
    DigestField,
    HashLabel,
    CompareField,
    CompareLabel,
    CompareButton,
    CloseButton,
    AboutButton,
    LanguageList,
    RenewButton,
    CopyButton,
    PasteButton,
};

enum class MessageIcon { None, Warning, Information };

// The words on a box's standard buttons in the user's language; an empty word leaves the
// toolkit's own, as on the boxes whose words are fixed.
struct BoxButtons {
    std::string yes;
    std::string no;
    std::string ok;
    std::string cancel;
};
// The current language's words, through `loadText` (a text of the language block by number).
BoxButtons LoadBoxButtons(const std::function<std::string(int)>& loadText);

// How a modal window ended: its OK button, or a request to close it (close box, system menu).
enum class ModalResult { Ok = 1, Closed = -1 };

// The progress display of a file hash that takes more than a moment, in a place of its own that
// covers none of the controls.
struct ProgressDisplay {
    std::string subject;        // what is hashed: the entry's caption and the file's name
    std::string state;          // how far it is, or that it was cancelled
    std::optional<int> permille;  // the part done; nothing when the total is unknown
    std::string cancelCaption;  // empty once there is nothing left to cancel
};

// An offer the window makes once a file hash has ended (the expected digest a checksum file
// beside the file holds, say), or a note on the digest shown, in a place of its own that covers
// none of the controls. Nothing changes until the user accepts it.
struct OfferDisplay {
    std::string text;
    std::string acceptCaption;  // empty: nothing to accept, the row only says something
    std::string declineCaption;
};

// What a screen reader says for a control besides what it shows. An empty name leaves the
// control named by its caption, or by the label it belongs to.
struct AccessibleText {
    std::string name;
    std::string description;
};

// The main window's accessible texts, with those of its progress row and of the string-input
// window.
struct AccessibleNames {
    std::vector<std::pair<Control, AccessibleText>> controls;
    AccessibleText progressBar;
    AccessibleText cancelButton;
    AccessibleText stringField;
};

struct StringInputResult {
    ModalResult result = ModalResult::Closed;
    std::string text;  // the edit field's text when the window ended
};

// Entries of a list shown together under a heading, by their positions in the list.
struct ListGroupDisplay {
    std::string heading;
    std::vector<int> positions;
};

// All texts are byte strings: UTF-8 for what is shown, file names as the system gives them.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Text of an edit field, caption of a button or label, or the main window's title.
    // Writing replaces the whole text; reading an edit field gives exactly what it shows.
    virtual std::string text(Control control) const = 0;
    virtual void setText(Control control, const std::string& text) = 0;

    // Replaces the entries of a drop-down list (AlgorithmList, LanguageList).
    virtual void setListEntries(Control list, const std::vector<std::string>& entries) = 0;
    // The selected position of a list, -1 when nothing is selected.
    virtual int selectedPosition(Control list) const = 0;
    // Selects a position; a position outside the list (such as -1) leaves no selection.
    // Selecting by program starts no handler.
    virtual void selectPosition(Control list, int position) = 0;
    // Shows the entries of a list in groups, in the groups' order under their headings, with a
    // tooltip each (by position); positions and the selection stay as they were.
    virtual void setListGroups(Control list, const std::vector<ListGroupDisplay>& groups,
                               const std::vector<std::string>& tooltips) = 0;

    // The open-file dialog for one existing file, starting with `initialName` filled in;
    // nothing when the user cancels.
    virtual std::optional<std::string> runOpenFileDialog(const std::string& initialName) = 0;

    // A message box with an OK button only and no owner window. An empty caption means the
    // application's default caption.
    virtual void showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                             const BoxButtons& buttons) = 0;

    // A message box with Yes and No buttons and no owner window, which returns at once;
    // `answered` runs once the user has chosen, with true for Yes. Closing the box is No.
    virtual void askQuestion(const std::string& text, const std::string& caption, MessageIcon icon,
                             const BoxButtons& buttons, std::function<void(bool yes)> answered) = 0;

    // Creates the string-input window with `title`, an empty edit field and an OK button, runs
    // it modally over the main window, frees it, and gives how it ended and its text.
    virtual StringInputResult runStringInputWindow(const std::string& title) = 0;

    // Creates the About window, runs it modally over the main window and frees it. Its links
    // call OpenAboutLink (SecondaryWindows.h).
    virtual void runAboutWindow() = 0;

    // The clipboard's plain text; nothing when the clipboard holds no plain text or cannot be
    // read.
    virtual std::optional<std::string> clipboardText() = 0;
    // Puts `text` on the clipboard as plain text; the empty text leaves the clipboard empty.
    virtual void setClipboardText(const std::string& text) = 0;

    // True when `name` exists and is not a directory (IsExistingFile in SystemPaths.h).
    virtual bool isExistingFile(const std::string& name) const = 0;

    // Shows or updates the progress display; hideProgress removes it.
    virtual void showProgress(const ProgressDisplay& display) = 0;
    virtual void hideProgress() = 0;

    // Shows or replaces the offer; hideOffer removes it. Its controls call AcceptOfferAction and
    // DeclineOfferAction.
    virtual void showOffer(const OfferDisplay& offer) = 0;
    virtual void hideOffer() = 0;

    // Names the controls for screen readers, in the current language; nothing visible changes.
    virtual void setAccessibleNames(const AccessibleNames& names) = 0;
    // Tells a screen reader's user what appeared without taking the focus; shows nothing.
    virtual void announce(const std::string& text) = 0;

    // Makes the controls that start a computation (HashStringButton, HashFileButton,
    // RenewButton) available or not, while a file hash runs.
    virtual void setHashControlsEnabled(bool enabled) = 0;

    // Asks the main window to close later, from the event loop; CloseHandler then runs.
    virtual void postClose() = 0;

    // Shows the main window for the first time.
    virtual void showMainWindow() = 0;
    // Closes every other window of the program (the list window, message boxes) and ends the
    // program once the main window has gone; runs as the main window closes.
    virtual void endProgram() = 0;

    // Hands a web address or a mailto: target to the user's default program; failures are
    // ignored.
    virtual void openUrl(const std::string& target) = 0;

    // The folder of the running executable (ExecutableFolder in SystemPaths.h).
    virtual std::filesystem::path executableFolder() const = 0;
    // The user's configuration folder for this program, empty when there is none
    // (ConfigFolder in SystemPaths.h).
    virtual std::filesystem::path configFolder() const = 0;
};

}  // namespace tolvek::window
