// Clear Form and Close & Exit as a user presses them: however often, after whatever
// estimate, with or without a bad entry waiting in an hours box.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "estimate/money.h"
#include "window/userform2.h"

using tf::UserForm2;

namespace {

const char* const kHours[] = {"tbHoursIC", "tbHoursWC", "tbHoursNM", "tbHoursAP", "tbHoursTax"};
const char* const kBlank = "You cannot have a blank hours field, must be zero or greater";

// Closes every message box as soon as it is the active window, and keeps its text.
class MessageCloser : public QObject {
public:
    QStringList texts;
    MessageCloser() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isActiveWindow()) return;
            texts << box->text();
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
};

}  // namespace

class Commands : public QObject {
    Q_OBJECT

    std::unique_ptr<UserForm2> form;

    template <class T = QWidget>
    T* get(const char* name) {
        auto* w = qobject_cast<T*>(form->control(QString::fromLatin1(name)));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    // A click as the window system delivers it, through the window.
    void click(const char* name) {
        QWidget* w = get(name);
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, w->mapTo(form.get(), w->rect().center()));
        QTest::qWait(0);
    }
    void estimate() {
        auto* state = get<QComboBox>("cbState");
        state->setFocus();
        for (int i = 0; i < 5; ++i) QTest::keyClick(state, Qt::Key_Down);
        QCOMPARE(state->currentText(), QStringLiteral("California"));
        const char* hours[] = {"10", "20.25", "3", "4", "5"};
        for (int row = 0; row < 5; ++row) {
            auto* box = get<QLineEdit>(kHours[row]);
            QCOMPARE(QApplication::focusWidget(), box);
            box->selectAll();
            QTest::keyClicks(box, hours[row]);
            QTest::keyClick(box, Qt::Key_Tab);
        }
        QVERIFY(get<QLineEdit>("tbTotal")->text().startsWith('$'));
        QCOMPARE(get<QLineEdit>("tbTotHours")->text(), QStringLiteral("42"));
    }
    QStringList snapshot() {
        QStringList out;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || form->control(w->objectName()) != w) continue;
            QString s = w->objectName() + (w->isHidden() ? "|hidden" : "|shown");
            if (auto* e = qobject_cast<QLineEdit*>(w)) s += QLatin1Char('|') + e->text();
            if (auto* l = qobject_cast<QLabel*>(w)) s += QLatin1Char('|') + l->text();
            if (auto* c = qobject_cast<QComboBox*>(w))
                s += QStringLiteral("|%1|%2|%3").arg(c->count()).arg(c->currentIndex()).arg(c->currentText());
            out << s;
        }
        out.sort();
        return out;
    }
    QString focusName() const {
        QWidget* f = QApplication::focusWidget();
        while (f && f->objectName().isEmpty()) f = f->parentWidget();
        return f ? f->objectName() : QStringLiteral("<none>");
    }

private slots:
    void init() {
        form = std::make_unique<UserForm2>(tf::RegionalSettings{});
        form->show();
        form->focusStart();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    void clearTwiceInARow() {
        const QStringList start = snapshot();
        estimate();
        click("cbClear");
        click("cbClear");
        QCOMPARE(snapshot(), start);
        QCOMPARE(focusName(), QStringLiteral("cbState"));
    }

    // The pending bad entry's handler runs first, with its message; then the form clears.
    void clearWithABadEntryPending() {
        const QStringList start = snapshot();
        estimate();
        auto* ap = get<QLineEdit>("tbHoursAP");
        ap->setFocus();
        ap->selectAll();
        QTest::keyClicks(ap, "four");
        MessageCloser closer;
        click("cbClear");
        QTRY_COMPARE_WITH_TIMEOUT(snapshot(), start, 2000);
        QCOMPARE(closer.texts, QStringList{kBlank});
        QCOMPARE(focusName(), QStringLiteral("cbState"));
    }

    void clearManyTimesKeepsFiftyThreeEntriesAndNoLeftovers() {
        const int objectsAtStart = form->findChildren<QObject*>().size();
        for (int i = 0; i < 100; ++i) {
            if (i % 10 == 0) estimate();
            click("cbClear");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QComboBox* list : form->findChildren<QComboBox*>()) {
            QCOMPARE(list->count(), 53);
            QCOMPARE(list->currentIndex(), -1);
        }
        QCOMPARE(form->findChildren<QComboBox*>().size(), 16);
        QCOMPARE(form->findChildren<QObject*>().size(), objectsAtStart);
        QCOMPARE(get<QLabel>("lbHelp")->text(),
                 QStringLiteral("Select a State from the Drop Down box titled 'Select a State' and hit the tab key"));
    }

    void clearByKeyboard() {
        const QStringList start = snapshot();
        estimate();
        get("cbClear")->setFocus();
        QTest::keyClick(get("cbClear"), Qt::Key_Space);
        QTest::qWait(0);
        QCOMPARE(snapshot(), start);
    }

    void closeAndExitWithFiguresOnScreen() {
        estimate();
        MessageCloser closer;
        QTimer::singleShot(0, this, [this] { click("cbClose"); });
        const int status = QApplication::exec();
        QCOMPARE(status, 0);
        QVERIFY(closer.texts.isEmpty());
        QVERIFY(!form->isVisible());
    }

    void closeAndExitRunsThePendingHandlerFirst() {
        estimate();
        auto* nm = get<QLineEdit>("tbHoursNM");
        nm->setFocus();
        nm->selectAll();
        QTest::keyClicks(nm, "-2");
        MessageCloser closer;
        QTimer::singleShot(0, this, [this] { click("cbClose"); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(closer.texts, QStringList{"Hours value cannot be less than zero"});
        QVERIFY(get<QLineEdit>("tbCostNM")->text().contains('-') ||
                get<QLineEdit>("tbCostNM")->text().contains('('));
    }
};

QTEST_MAIN(Commands)
#include "test_commands.moc"
