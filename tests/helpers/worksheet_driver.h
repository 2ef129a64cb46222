#pragma once
// What the window tests share: the worksheet opened as at start-up, its controls by
// name, clicks delivered as the window system delivers them, a record of what the user
// sees, and a closer for the message boxes.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

#include "estimate/messages.h"
#include "money/money.h"
#include "refdata/control_names.h"
#include "window/userform2.h"

namespace tf::test {

// The two messages of the hours handlers.
inline const QString kNegative = QString::fromLatin1(kNegativeHours);
inline const QString kBlank = QString::fromLatin1(kBlankHours);

// Closes every message box with OK once it is the active window, and keeps its caption
// and text.
class MessageCloser : public QObject {
public:
    QStringList captions;
    QStringList texts;
    MessageCloser() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isActiveWindow() || !box->isVisible()) return;
            captions << box->windowTitle();
            texts << box->text();
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
};

// A desktop's dark colour scheme: light text on dark fields, windows and buttons.
inline QPalette darkPalette() {
    QPalette p;
    const QColor light(252, 252, 252), window(49, 54, 59), field(35, 38, 41);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText,
                      QPalette::HighlightedText, QPalette::BrightText, QPalette::PlaceholderText})
        p.setColor(role, light);
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::ToolTipBase, QPalette::AlternateBase})
        p.setColor(role, window);
    p.setColor(QPalette::Base, field);
    p.setColor(QPalette::Highlight, QColor(61, 174, 233));
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(110, 113, 115));
    return p;
}

class Worksheet {
public:
    std::unique_ptr<UserForm2> form;

    // A new worksheet, shown and active, with the focus in the jurisdiction list; by default
    // under the settings the cost table is written for, with none as the program opens it.
    bool open(const std::optional<RegionalSettings>& settings = RegionalSettings{}) {
        form = settings ? std::make_unique<UserForm2>(*settings) : std::make_unique<UserForm2>();
        form->show();
        form->focusStart();
        return QTest::qWaitForWindowActive(form.get());
    }
    void close() { form.reset(); }

    template <class T = QWidget>
    T* get(const char* name) const {
        auto* w = qobject_cast<T*>(form->control(QString::fromLatin1(name)));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QString text(const char* name) const {
        QWidget* w = get(name);
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
        return {};
    }
    // A click as the window system delivers it: through the window, at the control.
    void click(const char* name) const {
        QWidget* w = get(name);
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, w->mapTo(form.get(), w->rect().center()));
        QTest::qWait(0);
    }
    // The control with the focus; the jurisdiction list's text field stands for the list.
    static QString focusName() {
        QWidget* f = QApplication::focusWidget();
        while (f && f->objectName().isEmpty()) f = f->parentWidget();
        return f ? f->objectName() : QStringLiteral("<none>");
    }
    // Everything a user can see of the controls, for comparing two moments.
    QStringList snapshot() const {
        QStringList out;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || form->control(w->objectName()) != w) continue;
            QString s = w->objectName() + (w->isHidden() ? "|hidden" : "|shown");
            if (auto* e = qobject_cast<QLineEdit*>(w)) s += QLatin1Char('|') + e->text();
            if (auto* l = qobject_cast<QLabel*>(w)) s += QLatin1Char('|') + l->text();
            if (auto* c = qobject_cast<QComboBox*>(w))
                s += QStringLiteral("|%1|%2|%3").arg(c->count()).arg(c->currentIndex()).arg(c->currentText());
            for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                              QPalette::Button, QPalette::ButtonText})
                s += QLatin1Char('|') + w->palette().color(role).name();
            out << s;
        }
        out.sort();
        return out;
    }
    // Hours typed over what a box holds, then Tab, as a user moves down the rows.
    void typeHours(int row, const QString& hours) const {
        auto* box = get<QLineEdit>(tf::kRows[row].hours);
        box->selectAll();
        QTest::keyClicks(box, hours);
        QTest::keyClick(box, Qt::Key_Tab);
    }
};

}  // namespace tf::test
