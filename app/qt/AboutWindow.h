// The modal About window: product name with its shadow, the picture, the maker's credit, and
// three clickable lines that open the contact page or a new mail.
#pragma once

#include <QDialog>
#include <functional>

#include "app/window/SecondaryWindows.h"

namespace tolvek::desktop {

class AboutWindow final : public QDialog {
    Q_OBJECT

public:
    using LinkHandler = std::function<void(window::AboutLink link)>;

    // Created hidden over `owner`; a click on a link calls `onLink`.
    AboutWindow(QWidget* owner, LinkHandler onLink);

    // A request to close the window ends the modal run with ModalResult::Closed.
    void reject() override;

private:
    void createPanel();
    void addLink(QWidget& panel, const char* name, QRect geometry, const QString& text,
                 window::AboutLink link);

    LinkHandler m_onLink;
};

}  // namespace tolvek::desktop
