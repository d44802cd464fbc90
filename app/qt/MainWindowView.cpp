#include "app/qt/MainWindowView.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <limits>

#include "app/window/Product.h"
#include "app/qt/FileDrops.h"
#include "app/qt/OfferRow.h"
#include "app/qt/ProgressRow.h"
#include "app/qt/Resources.h"
#include "app/qt/WindowFonts.h"

namespace tolvek::desktop {

using window::Control;

namespace {

enum class Kind { Label, List, Button, Field, ReadOnlyField };

// A size of (0, 0): the control fits its caption.
constexpr QSize kFitsCaption{0, 0};

struct ControlLayout {
    Control control;
    const char* name;
    Kind kind;
    QPoint position;
    QSize size;
    const char* caption;
};

// In creation order, which Tab follows.
// clang-format off
const std::array<ControlLayout, 15> kLayout = {{
    {Control::HashLabel,        "HashLabel",        Kind::Label,         {16, 83},   {57, 12},     "Hash"},
    {Control::CompareLabel,     "CompareLabel",     Kind::Label,         {16, 125},  kFitsCaption, "Hash to compare"},
    {Control::AlgorithmList,    "AlgorithmList",    Kind::List,          {16, 16},   {113, 22},    ""},
    {Control::HashStringButton, "HashStringButton", Kind::Button,        {144, 16},  kFitsCaption, "Hash String"},
    {Control::HashFileButton,   "HashFileButton",   Kind::Button,        {264, 16},  kFitsCaption, "Hash file"},
    {Control::PathField,        "PathField",        Kind::Field,         {16, 56},   {321, 22},    ""},
    {Control::CopyButton,       "CopyButton",       Kind::Button,        {336, 96},  {105, 22},    "-> Clipboard"},
    {Control::DigestField,      "DigestField",      Kind::ReadOnlyField, {16, 96},   {321, 22},    ""},
    {Control::CompareField,     "CompareField",     Kind::Field,         {16, 144},  {321, 22},    ""},
    {Control::CompareButton,    "CompareButton",    Kind::Button,        {24, 176},  {73, 22},     "Compare"},
    {Control::CloseButton,      "CloseButton",      Kind::Button,        {376, 16},  kFitsCaption, "Close"},
    {Control::AboutButton,      "AboutButton",      Kind::Button,        {312, 176}, {80, 22},     "About"},
    {Control::PasteButton,      "PasteButton",      Kind::Button,        {336, 144}, {105, 22},    "<- Clipboard"},
    {Control::LanguageList,     "LanguageList",     Kind::List,          {136, 176}, {153, 22},    ""},
    {Control::RenewButton,      "RenewButton",      Kind::Button,        {336, 56},  {105, 22},    "Renew hash"},
}};
// clang-format on

// Room around a fitted button's caption, on each side.
constexpr int kFitMargin = 8;

const ControlLayout& layoutOf(Control control) {
    return *std::ranges::find(kLayout, control, &ControlLayout::control);
}

bool fitsCaption(Control control) {
    return control != Control::MainWindow && layoutOf(control).size == kFitsCaption;
}

QWidget* createControl(Kind kind, QWidget* parent) {
    switch (kind) {
        case Kind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case Kind::List: {
            auto* list = new QComboBox(parent);
            list->setEditable(false);
            list->setInsertPolicy(QComboBox::NoInsert);
            return list;
        }
        case Kind::Button:
            return new QPushButton(parent);
        case Kind::Field:
            return NewEditField(parent);
        case Kind::ReadOnlyField: {
            QLineEdit* field = NewEditField(parent);
            field->setReadOnly(true);
            return field;
        }
    }
    return nullptr;
}

std::size_t slot(Control control) {
    return static_cast<std::size_t>(control);
}

}  // namespace

QLineEdit* NewEditField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

MainWindowView::MainWindowView(MainWindowHandlers handlers) : m_onClose(std::move(handlers.close)) {
    m_controls[slot(Control::MainWindow)] = this;
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromUtf8(window::kInitialTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kMainWindowSize);
    setWindowIcon(MainIcon());
    setFont(WindowFont());

    createControls();
    // After the fifteen controls, so that their creation and Tab order stay as they are.
    const std::function<void()> onCancel = std::move(handlers.cancel);
    m_progressRow = new ProgressRow(this, onCancel, [this] { hideProgress(); });
    m_offerRow = new OfferRow(this);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [onCancel] { onCancel(); });

    // The other two edit fields keep taking dragged text, but dropped files belong to the
    // window, except those dropped on CompareField with Ctrl held.
    auto* compareFieldDrops =
        new FileDropFilter(this, handlers.windowDrop, std::move(handlers.compareFieldCtrlDrop));
    compareFieldDrops->watch(control(Control::CompareField));
    auto* windowDrops = new FileDropFilter(this, std::move(handlers.windowDrop));
    windowDrops->watch(*this);
    windowDrops->watch(control(Control::DigestField));
    auto* pathFieldDrops = new FileDropFilter(this, std::move(handlers.pathFieldDrop));
    pathFieldDrops->watch(control(Control::PathField));

    control(Control::AlgorithmList).setFocus();
}

void MainWindowView::createControls() {
    for (const ControlLayout& layout : kLayout) {
        QWidget* widget = createControl(layout.kind, this);
        widget->setObjectName(QString::fromLatin1(layout.name));
        widget->move(layout.position);
        m_controls[slot(layout.control)] = widget;
        if (layout.size != kFitsCaption) {
            widget->resize(layout.size);
        }
        if (*layout.caption != '\0') {
            setText(layout.control, QString::fromUtf8(layout.caption));
        }
    }
}

QWidget& MainWindowView::control(Control control) const {
    return *m_controls[slot(control)];
}

QComboBox& MainWindowView::list(Control list) const {
    return *qobject_cast<QComboBox*>(m_controls[slot(list)]);
}

QString MainWindowView::text(Control control) const {
    QWidget& widget = this->control(control);
    if (control == Control::MainWindow) {
        return windowTitle();
    }
    if (const auto* field = qobject_cast<QLineEdit*>(&widget)) {
        return field->text();
    }
    if (const auto* button = qobject_cast<QPushButton*>(&widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<QLabel*>(&widget)) {
        return label->text();
    }
    return qobject_cast<QComboBox*>(&widget)->currentText();
}

void MainWindowView::setText(Control control, const QString& text) {
    QWidget& widget = this->control(control);
    if (control == Control::MainWindow) {
        setWindowTitle(text);
    } else if (auto* field = qobject_cast<QLineEdit*>(&widget)) {
        field->setText(text);
        if (field->isReadOnly()) {
            // A long digest does not fit: the field shows where it starts, as people compare
            // the leading digits, and the tooltip shows all of it.
            field->setCursorPosition(0);
            field->setToolTip(text);
        }
    } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(text);
    }
    if (fitsCaption(control)) {
        fitToCaption(control);
    }
}

void MainWindowView::fitToCaption(Control control) {
    QWidget& widget = this->control(control);
    if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        // The caption's own width with a margin: the style's minimum width for buttons would
        // push CloseButton out of the window.
        const int width = button->fontMetrics().horizontalAdvance(button->text()) + 2 * kFitMargin;
        button->resize(width, button->sizeHint().height());
    } else {
        widget.adjustSize();
    }
}

void MainWindowView::centreOnScreen() {
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void MainWindowView::showProgress(const window::ProgressDisplay& display) {
    m_offerRow->hide();
    m_progressRow->display(display);
    fitRows();
}

void MainWindowView::hideProgress() {
    m_progressRow->hide();
    fitRows();
}

void MainWindowView::showOffer(const window::OfferDisplay& offer) {
    m_progressRow->hide();
    m_offerRow->display(offer);
    fitRows();
}

void MainWindowView::hideOffer() {
    m_offerRow->hide();
    fitRows();
}

void MainWindowView::fitRows() {
    const bool rowShown = !m_progressRow->isHidden() || !m_offerRow->isHidden();
    setFixedSize(kMainWindowSize.width(),
                 rowShown ? kProgressRowArea.bottom() + 1 : kMainWindowSize.height());
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    m_onClose();
    event->accept();
}

}  // namespace tolvek::desktop
