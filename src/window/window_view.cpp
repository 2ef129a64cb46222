#include "window/window_view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "refdata/control_names.h"
#include "window/message_box.h"

namespace tf {

// Every name the handlers use is one of the control table's: a name that is not is a
// misspelling in the program, which would otherwise pass as an operation that did
// nothing. Release builds keep going, as with a control that cannot take the operation.
QWidget* WindowView::widget(const std::string& name) const {
    QWidget* w = control(QString::fromStdString(name));
    Q_ASSERT_X(w, "WindowView", qPrintable(QStringLiteral("no control named ") +
                                            QString::fromStdString(name)));
    return w;
}

std::string WindowView::text(const std::string& control) const {
    QWidget* w = widget(control);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    return {};
}

void WindowView::setText(const std::string& control, const std::string& text) {
    QWidget* w = widget(control);
    const QString t = QString::fromStdString(text);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(t);
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(t);
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable()) c->setEditText(t);
}

int WindowView::listIndex(const std::string& list) const {
    auto* c = qobject_cast<QComboBox*>(widget(list));
    return c ? c->currentIndex() : -1;
}

bool WindowView::setListIndex(const std::string& list, int index) {
    auto* c = qobject_cast<QComboBox*>(widget(list));
    if (!c || index < -1 || index >= c->count()) return false;
    c->setCurrentIndex(index);
    return true;
}

bool WindowView::isVisible(const std::string& control) const {
    QWidget* w = widget(control);
    return w && !w->isHidden();
}

void WindowView::setVisible(const std::string& control, bool visible) {
    if (QWidget* w = widget(control)) w->setVisible(visible);
}

bool WindowView::setFocus(const std::string& control) {
    QWidget* w = widget(control);
    if (!w || w->isHidden() || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus) return false;
    // Not a move by the user: no hours handler runs for it.
    w->setFocus(Qt::OtherFocusReason);
    // The user types over what is there.
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    return true;
}

void WindowView::setHelp(const std::string& text) { setText(name::lbHelp, text); }

void WindowView::showHelp() { setVisible(name::lbHelp, true); }

void WindowView::showMessage(const std::string& text) {
    showMessageBox(&window_, QString::fromStdString(text));
    // Without a window manager nothing gives the worksheet its activation back.
    window_.activateWindow();
}

void WindowView::appendEntry(const std::string& list, const std::string& text) {
    if (auto* c = qobject_cast<QComboBox*>(widget(list))) c->addItem(QString::fromStdString(text));
}

// One insertion of all the entries: the list hears of new entries once, not once per entry.
void WindowView::appendEntries(const std::string& list, const std::vector<std::string>& texts) {
    auto* c = qobject_cast<QComboBox*>(widget(list));
    if (!c) return;
    QStringList items;
    items.reserve(qsizetype(texts.size()));
    for (const std::string& text : texts) items << QString::fromStdString(text);
    c->addItems(items);
}

}  // namespace tf
