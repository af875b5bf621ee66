#include "platform/qt/accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

#include "platform/qt/qt_internal.h"

namespace platform::qt {
namespace {

class PlainRadioAccessible : public QAccessibleWidget {
  public:
    explicit PlainRadioAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return Button()->text();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Button()->isChecked();
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            Button()->click();
        }
    }

  private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// A read-only drop-down list: named by its accessible name, its entry readable as text.
class ListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ListAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return widget()->accessibleName().isEmpty() ? Shown() : widget()->accessibleName();
            case QAccessible::Value:
                return Shown();
            default:
                return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Box()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        return c != nullptr && c->object() == Box()->view() ? 0 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction()) {
            Box()->showPopup();
        }
    }

    // The entry shown, as read-only text.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return Shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = *end = 0;
        return {};
    }

  private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
    QString Shown() const { return Box()->currentIndex() >= 0 ? Box()->currentText() : QString(); }
};

bool IsOurs(const QAccessibleInterface* iface) {
    return dynamic_cast<const PlainRadioAccessible*>(iface) != nullptr ||
           dynamic_cast<const ListAccessible*>(iface) != nullptr;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || dynamic_cast<DialogWidget*>(widget->parentWidget()) == nullptr) {
        return nullptr;
    }
    if (dynamic_cast<PlainRadioButton*>(widget) != nullptr) {
        return new PlainRadioAccessible(widget);
    }
    if (qobject_cast<QComboBox*>(widget) != nullptr) {
        return new ListAccessible(widget);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(&Factory);
    }
}

void AdoptAccessible(QWidget* control) {
    if (dynamic_cast<PlainRadioButton*>(control) == nullptr &&
        qobject_cast<QComboBox*>(control) == nullptr) {
        return;
    }
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    if (iface != nullptr && !IsOurs(iface)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    }
}

}  // namespace platform::qt
