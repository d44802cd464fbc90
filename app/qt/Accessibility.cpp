#include "app/qt/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <chrono>

namespace tolvek::desktop {

namespace {

// Long enough for a screen reader to read the notification's text.
constexpr std::chrono::seconds kReadWithin{5};

// Asked for each class of an object from the most derived one on; answers only for that one.
QAccessibleInterface* ownRoles(const QString& className, QObject* object) {
    const QMetaObject& type = *object->metaObject();
    if (!object->isWidgetType() || className != QLatin1String(type.className())) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (&type == &Announcer::staticMetaObject) {
        return new QAccessibleWidget(widget, QAccessible::Notification);
    }
    if (widget->isWindow() && type.superClass() == &QWidget::staticMetaObject) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

// On Linux a drop-down's accessible name is the entry it shows, and screen readers say what it
// is from the label that labels it: a label that is never shown carries the name.
QLabel& hiddenLabelOf(QComboBox& list) {
    QWidget& parent = *list.parentWidget();
    const QString name = list.objectName() + QStringLiteral("Label");
    if (auto* label = parent.findChild<QLabel*>(name, Qt::FindDirectChildrenOnly)) {
        return *label;
    }
    auto* label = new QLabel(&parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(&list);
    label->hide();
    return *label;
}

}  // namespace

void InstallAccessibleRoles() {
    static const bool installed = [] {
        QAccessible::installFactory(ownRoles);
        return true;
    }();
    (void)installed;
}

void ApplyAccessibleText(QWidget& widget, const window::AccessibleText& text) {
    widget.setAccessibleName(fromBytes(text.name));
    widget.setAccessibleDescription(fromBytes(text.description));
    if (auto* list = qobject_cast<QComboBox*>(&widget); list != nullptr && !text.name.empty()) {
        hiddenLabelOf(*list).setText(fromBytes(text.name));
    }
}

void ApplyAccessibleText(QWidget& parent, const char* objectName,
                         const window::AccessibleText& text) {
    if (auto* child = parent.findChild<QWidget*>(QString::fromLatin1(objectName))) {
        ApplyAccessibleText(*child, text);
    }
}

Announcer::Announcer(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("Announcer"));
    // Draws nothing, takes no click and no focus: only screen readers know it is there.
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Not shown with the window: a notification with nothing to say would be read out as one.
    hide();
    m_heardTimer.setSingleShot(true);
    m_heardTimer.setInterval(kReadWithin);
    connect(&m_heardTimer, &QTimer::timeout, this, &QWidget::hide);
}

void Announcer::say(const std::string& text) {
    setAccessibleName(fromBytes(text));
    if (!parentWidget()->isVisible()) {
        return;
    }
    if (isVisible()) {
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    } else {
        show();
    }
    m_heardTimer.start();
}

}  // namespace tolvek::desktop
