#include "window/accessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QAbstractItemView>
#include <QLineEdit>

#include "window/input_controls.h"

namespace tf {

namespace {

class NamedList final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit NamedList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QComboBox* list() const { return static_cast<QComboBox*>(object()); }
    QString shown() const { return list()->currentText(); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Its entries (the drop-down view) and, for the jurisdiction list, its text field.
    int childCount() const override { return list()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(list()->view());
        if (index == 1 && list()->isEditable())
            return QAccessible::queryAccessibleInterface(list()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (child->object() == list()->view()) return 0;
        if (list()->isEditable() && child->object() == list()->lineEdit()) return 1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (list()->isEditable() && list()->lineEdit()->rect().contains(list()->lineEdit()->mapFromGlobal(QPoint(x, y))))
            return child(1);
        return nullptr;
    }

    // Opening the list, for those who do not use the keyboard or the mouse.
    QStringList actionNames() const override {
        if (!list()->isEnabled()) return {};
        return {showMenuAction(), pressAction()};
    }
    void doAction(const QString& action) override {
        if (!list()->isEnabled()) return;
        if (action == showMenuAction() || action == pressAction()) list()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                const QString name = list()->accessibleName();
                return name.isEmpty() ? shown() : name;
            }
            case QAccessible::Value: return shown();
            default: return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = list()->isEditable();
        s.readOnly = !list()->isEditable() || !list()->isEnabled();
        s.expandable = list()->isEnabled();
        return s;
    }

    // The entry shown, as read-only text.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        const QString s = shown();
        start = qBound(0, start, int(s.size()));
        end = end < 0 ? int(s.size()) : qBound(start, end, int(s.size()));
        return s.mid(start, end - start);
    }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }
};

// The worksheet's own lists; any other drop-down list keeps what Qt gives it.
QAccessibleInterface* listFactory(const QString&, QObject* object) {
    if (auto* state = qobject_cast<StateList*>(object)) return new NamedList(state);
    if (auto* component = qobject_cast<ComponentList*>(object)) return new NamedList(component);
    return nullptr;
}

}  // namespace

void installAccessibleListNames() {
    static const bool installed = [] {
        QAccessible::installFactory(listFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace tf
