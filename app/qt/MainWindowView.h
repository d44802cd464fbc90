// The main window's widgets: fifteen controls at fixed places in a window of fixed size, the
// "fit" controls sizing themselves to their caption, and the drops and close request handed on
// to whoever drives the window.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "app/qt/FileDrops.h"
#include "app/window/WindowSystem.h"

class QComboBox;
class QLineEdit;

namespace tolvek::desktop {

class OfferRow;
class ProgressRow;

// A one-line edit field that holds any text the user pastes or types (not only the first
// 32767 characters).
QLineEdit* NewEditField(QWidget* parent);

// The client area, which the user cannot change.
inline constexpr QSize kMainWindowSize{453, 198};

// What the window's own events start, besides the controls' signals.
struct MainWindowHandlers {
    DropHandler windowDrop;            // files dropped anywhere but on PathField
    DropHandler pathFieldDrop;         // files dropped on PathField
    DropHandler compareFieldCtrlDrop;  // files dropped on CompareField while Ctrl is held
    std::function<void()> close;       // the window is asked to close, before it goes
    std::function<void()> cancel;      // the progress display's Cancel button and the Esc key
};

class MainWindowView final : public QWidget {
    Q_OBJECT

public:
    // Builds the window and its controls in their creation order (which is also the Tab order).
    explicit MainWindowView(MainWindowHandlers handlers);

    // The widget of a control; the window itself for Control::MainWindow.
    QWidget& control(window::Control control) const;
    QComboBox& list(window::Control list) const;

    // A control's text: the title of the window, the caption of a button or label, the text of
    // an edit field, the current entry of a list.
    QString text(window::Control control) const;
    // Replaces the text; a control that fits its caption takes the caption's size.
    void setText(window::Control control, const QString& text);

    void centreOnScreen();

    // The progress row below the controls; the window grows by its height while it is shown.
    void showProgress(const window::ProgressDisplay& display);
    void hideProgress();
    ProgressRow& progressRow() const { return *m_progressRow; }

    // The offer row, in the progress row's place: showing one hides the other.
    void showOffer(const window::OfferDisplay& offer);
    void hideOffer();
    OfferRow& offerRow() const { return *m_offerRow; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void fitToCaption(window::Control control);
    // The window's height: grown by the row's while the progress or the offer row is shown.
    void fitRows();

    // Indexed by window::Control.
    std::array<QWidget*, 16> m_controls{};
    std::function<void()> m_onClose;
    ProgressRow* m_progressRow = nullptr;
    OfferRow* m_offerRow = nullptr;
};

}  // namespace tolvek::desktop
