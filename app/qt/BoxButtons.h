// The user's words on the standard buttons of our message boxes and dialogs.
#pragma once

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>
#include <string>
#include <utility>

#include "app/window/WindowSystem.h"

namespace tolvek::desktop {

// Puts `words` on the Yes, No, OK and Cancel buttons that `box` (a QMessageBox or a
// QDialogButtonBox, whose standard buttons share their values) has; an empty word leaves Qt's.
template <typename Box>
void NameStandardButtons(Box& box, const window::BoxButtons& words) {
    const std::pair<QDialogButtonBox::StandardButton, const std::string*> named[] = {
        {QDialogButtonBox::Yes, &words.yes},
        {QDialogButtonBox::No, &words.no},
        {QDialogButtonBox::Ok, &words.ok},
        {QDialogButtonBox::Cancel, &words.cancel},
    };
    for (const auto& [which, word] : named) {
        QAbstractButton* button = box.button(static_cast<typename Box::StandardButton>(which));
        if (button != nullptr && !word->empty()) {
            button->setText(QString::fromStdString(*word));
        }
    }
}

}  // namespace tolvek::desktop
