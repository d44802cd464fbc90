// The modal window that asks for the text HashStringAction hashes: one edit field and an OK
// button, its title carrying the prompt.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace tolvek::desktop {

class StringInputWindow final : public QDialog {
    Q_OBJECT

public:
    // Created hidden over `owner`, with the initial title and an empty field.
    explicit StringInputWindow(QWidget* owner);

    // The edit field's text, as the user left it however the window ended.
    std::string text() const;

    // A request to close the window (its close box, Escape) ends the modal run with
    // ModalResult::Closed instead of destroying anything.
    void reject() override;

private:
    QLineEdit* m_field;
};

}  // namespace tolvek::desktop
