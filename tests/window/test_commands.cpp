// Clear Form and Close & Exit as a user presses them: however often, after whatever
// estimate, with or without a bad entry waiting in an hours box.
#include "estimate/initialise.h"
#include "worksheet_driver.h"

using tf::test::kBlank;
using tf::test::kNegative;
using tf::test::MessageCloser;
using tf::test::Worksheet;

class CommandsTest : public QObject {
    Q_OBJECT

    Worksheet sheet;
    std::unique_ptr<tf::UserForm2>& form = sheet.form;

    template <class T = QWidget>
    T* get(const char* name) { return sheet.get<T>(name); }
    void click(const char* name) { sheet.click(name); }
    static QString focusName() { return Worksheet::focusName(); }
    QStringList snapshot() const { return sheet.snapshot(); }
    void estimate() {
        auto* state = get<QComboBox>("cbState");
        state->setFocus();
        for (int i = 0; i < 5; ++i) QTest::keyClick(state, Qt::Key_Down);
        QCOMPARE(state->currentText(), QStringLiteral("California"));
        const char* hours[] = {"10", "20.25", "3", "4", "5"};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(focusName(), QString::fromLatin1(tf::kRows[row].hours));
            sheet.typeHours(row, QString::fromLatin1(hours[row]));
        }
        QVERIFY(get<QLineEdit>("tbTotal")->text().startsWith('$'));
        QCOMPARE(get<QLineEdit>("tbTotHours")->text(), QStringLiteral("42"));
    }
private slots:
    void init() { QVERIFY(sheet.open()); }
    void cleanup() { sheet.close(); }

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
                 QString::fromLatin1(tf::kFirstInstruction));
    }

    void clearByKeyboard() {
        const QStringList start = snapshot();
        estimate();
        get("cbClear")->setFocus();
        QTest::keyClick(get("cbClear"), Qt::Key_Space);
        QTest::qWait(0);
        QCOMPARE(snapshot(), start);
    }

    void messagesAreClosedByEnterAndEscape_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    // Update before any choice: the one message, answered from the keyboard.
    void messagesAreClosedByEnterAndEscape() {
        QFETCH(int, key);
        QString caption, text;
        int buttons = -1;
        QMessageBox::Icon icon = QMessageBox::Critical;
        bool modal = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isActiveWindow()) return;
            caption = box->windowTitle();
            text = box->text();
            buttons = int(box->buttons().size());
            icon = box->icon();
            modal = box->isModal();
            QTest::keyClick(box, Qt::Key(key));
        });
        answer.start(10);
        click("cbUpdate");
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000);
        QCOMPARE(caption, QStringLiteral("Tallyforge"));
        QCOMPARE(text, kBlank);
        QCOMPARE(buttons, 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(modal);
        QCOMPARE(get<QLineEdit>("tbHoursIC")->text(), QStringLiteral("0"));
        QVERIFY(get("tbHoursIC")->isHidden());
        QVERIFY(form->isVisible());
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
        QCOMPARE(closer.texts, QStringList{kNegative});
        QVERIFY(get<QLineEdit>("tbCostNM")->text().contains('-') ||
                get<QLineEdit>("tbCostNM")->text().contains('('));
    }
};

QTEST_MAIN(CommandsTest)
#include "test_commands.moc"
