// The whole estimate through the real worksheet window, driven by keys and mouse clicks
// as a user drives it: choosing a jurisdiction, tabbing through the hours boxes, the
// messages (closed here with OK) and where the focus goes after each.
#include <QAbstractItemView>

#include "amount_oracle.h"
#include "estimate/messages.h"
#include "worksheet_driver.h"

using tf::test::kBlank;
using tf::test::kNegative;
using tf::test::MessageCloser;
using tf::test::Worksheet;

namespace {

const QString kCompleteHelp = QString::fromLatin1(tf::kCompleteHelp);

// Cents of a money text of the cost table's settings ("$1,234.56", "-$5.00").
std::optional<qint64> cents(const QString& text) {
    return tf::testing::amountUnits<qint64>(text.toStdString(), 2);
}

}  // namespace

class WorksheetEstimateTest : public QObject {
    Q_OBJECT

    Worksheet sheet;
    std::unique_ptr<tf::UserForm2>& form = sheet.form;
    std::unique_ptr<MessageCloser> closer;

    template <class T = QWidget>
    T* get(const char* name) { return sheet.get<T>(name); }
    QString text(const char* name) { return sheet.text(name); }
    static QString focusName() { return Worksheet::focusName(); }
    // Waits until the worksheet is the active window again after a message.
    bool settle() {
        QApplication::processEvents();
        if (!form->isActiveWindow()) {
            form->activateWindow();
            if (!QTest::qWaitForWindowActive(form.get(), 1000)) return false;
        }
        return true;
    }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), key, mods);
        QVERIFY(settle());
    }
    // Types into the box that has the focus, over the selected "0".
    void type(const QString& keys) {
        auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY2(box, qPrintable(focusName()));
        box->selectAll();
        if (keys.isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, keys);
    }
    // A click as the window system delivers it: to the window, at the control's place.
    void click(const char* name) {
        sheet.click(name);
        QVERIFY(settle());
    }
    void chooseWithDownArrow() {
        auto* state = get<QComboBox>("cbState");
        state->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE_WITH_TIMEOUT(focusName(), QStringLiteral("cbState"), 500);
        press(Qt::Key_Down);
        QCOMPARE(state->currentIndex(), 0);
    }
    // The total cost is the sum of the category costs shown.
    void verifyTotalCost() {
        qint64 sum = 0;
        for (const auto& row : tf::kRows) {
            QVERIFY2(cents(text(row.cost)), qPrintable(text(row.cost)));
            sum += *cents(text(row.cost));
        }
        QCOMPARE(cents(text("tbTotal")), std::optional<qint64>(sum));
    }

private slots:
    void init() {
        QVERIFY(sheet.open());
        closer = std::make_unique<MessageCloser>();
    }
    void cleanup() {
        closer.reset();
        sheet.close();
    }

    void chooseWithTheDownArrow() {
        chooseWithDownArrow();
        const char* alabama[] = {"$36.53", "$36.42", "$38.62", "$46.47", "$41.99"};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(text(tf::kRows[row].average), QString::fromLatin1(alabama[row]));
            QVERIFY(get(tf::kRows[row].hours)->isVisible());
            QCOMPARE(text(tf::kRows[row].cost), QStringLiteral("$0.00"));
        }
        QCOMPARE(text("tbTotal"), QStringLiteral("$0.00"));
        QCOMPARE(text("tbTotHours"), QStringLiteral("0"));
        QCOMPARE(text("lbHelp"), kCompleteHelp);
        QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
        QVERIFY(closer->texts.isEmpty());
    }

    void chooseWithTheMouseInTheOpenList() {
        auto* state = get<QComboBox>("cbState");
        const int islands = state->findText(QStringLiteral("Virgin Islands"));
        QVERIFY(islands > 40);
        state->showPopup();
        QAbstractItemView* list = state->view();
        QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), 1000);
        const QModelIndex item = list->model()->index(islands, state->modelColumn());
        list->scrollTo(item);
        QApplication::processEvents();
        const QRect rect = list->visualRect(item);
        QVERIFY(list->viewport()->rect().contains(rect.center()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QVERIFY(settle());
        QTRY_COMPARE_WITH_TIMEOUT(state->currentIndex(), islands, 1000);
        QCOMPARE(text("cbTaxNPS"), QStringLiteral("$19.9"));
        QCOMPARE(text("tbTaxHour"), QStringLiteral("$65.51"));
        QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
        QVERIFY(closer->texts.isEmpty());
    }

    // Hours typed box by box with Tab in between: each Tab leaves the next box focused
    // and the totals over all five rows on screen.
    void tabThroughTheHoursBoxes() {
        chooseWithDownArrow();
        const char* typed[] = {"2", "1.2", "0", "3", "10"};
        const char* costs[] = {"$73.06", "$43.70", "$0.00", "$139.41", "$419.90"};
        const char* totals[] = {"$73.06", "$116.76", "$116.76", "$256.17", "$676.07"};
        const char* hours[] = {"2", "3", "3", "6", "16"};
        const char* next[] = {"tbHoursWC", "tbHoursNM", "tbHoursAP", "tbHoursTax", "cbUpdate"};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(focusName(), QString::fromLatin1(tf::kRows[row].hours));
            type(QString::fromLatin1(typed[row]));
            press(Qt::Key_Tab);
            QCOMPARE(focusName(), QString::fromLatin1(next[row]));
            QCOMPARE(text(tf::kRows[row].cost), QString::fromLatin1(costs[row]));
            QCOMPARE(text("tbTotal"), QString::fromLatin1(totals[row]));
            QCOMPARE(text("tbTotHours"), QString::fromLatin1(hours[row]));
            verifyTotalCost();
        }
        QCOMPARE(text("lbHelp"), kCompleteHelp);
        QVERIFY(closer->texts.isEmpty());
        // Leaving the first box again keeps the totals over all five rows.
        click("tbHoursIC");
        QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
        press(Qt::Key_Tab);
        QCOMPARE(text("tbTotal"), QStringLiteral("$676.07"));
        QCOMPARE(text("tbTotHours"), QStringLiteral("16"));
    }

    // Per bad entry and Tab: exactly one message, its caption, the focus back in the box.
    void badHoursAndTab_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("boxAfter");
        QTest::addColumn<QString>("costAfter");
        QTest::newRow("emptied") << 0 << "" << kBlank << "0" << "$0.00";
        QTest::newRow("letters") << 1 << "abc" << kBlank << "0" << "$0.00";
        QTest::newRow("beyond range") << 3 << "1e400" << kBlank << "0" << "$0.00";
        QTest::newRow("negative") << 2 << "-2" << kNegative << "-2" << "-$77.24";
    }
    void badHoursAndTab() {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, boxAfter);
        QFETCH(QString, costAfter);
        chooseWithDownArrow();
        if (row != 0) click(tf::kRows[row].hours);
        QCOMPARE(focusName(), QString::fromLatin1(tf::kRows[row].hours));
        type(typed);
        press(Qt::Key_Tab);
        QCOMPARE(closer->texts, QStringList{message});
        QCOMPARE(closer->captions, QStringList{QStringLiteral("Tallyforge")});
        QCOMPARE(focusName(), QString::fromLatin1(tf::kRows[row].hours));
        QCOMPARE(text(tf::kRows[row].hours), boxAfter);
        QCOMPARE(text(tf::kRows[row].cost), costAfter);
        verifyTotalCost();
    }

    // Two boxes hold what is not a number: every Tab shows one message, for the box
    // being left, and nothing goes round in circles.
    void twoBadBoxesDoNotLoop() {
        chooseWithDownArrow();
        get<QLineEdit>("tbHoursWC")->setText(QStringLiteral("xyz"));  // pasted, never left
        QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
        type(QStringLiteral("abc"));
        for (int tab = 1; tab <= 3; ++tab) {
            press(Qt::Key_Tab);
            QCOMPARE(closer->texts.size(), tab);
            QCOMPARE(closer->texts.last(), kBlank);
            QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
            QCOMPARE(text("tbHoursIC"), QStringLiteral("0"));
        }
        // Update clears it up: Weekly Claims gets its own message and the focus.
        closer->texts.clear();
        click("cbUpdate");
        QVERIFY(closer->texts.size() >= 1);
        QCOMPARE(closer->texts.last(), kBlank);
        QCOMPARE(text("tbHoursWC"), QStringLiteral("0"));
        QCOMPARE(focusName(), QStringLiteral("tbHoursWC"));
        closer->texts.clear();
        press(Qt::Key_Tab);
        QVERIFY(closer->texts.isEmpty());
        verifyTotalCost();
    }

    // A click on Update straight after typing: the box's own handler runs first, then
    // Update, with what was just typed.
    void updateClickedWhileTyping_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("focus");
        QTest::newRow("hours") << "4" << QStringList{} << "$146.12" << "cbUpdate";
        QTest::newRow("letters") << "abc" << QStringList{kBlank} << "$0.00" << "tbHoursIC";
    }
    void updateClickedWhileTyping() {
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(QString, cost);
        QFETCH(QString, focus);
        chooseWithDownArrow();
        type(typed);
        click("cbUpdate");
        QCOMPARE(closer->texts, messages);
        QCOMPARE(text("tbCostIC"), cost);
        QCOMPARE(text("tbTotal"), cost);
        QCOMPARE(text("lbHelp"), kCompleteHelp);
        QCOMPARE(focusName(), focus);
    }

    void updateBeforeAnyChoice() {
        click("cbUpdate");
        QCOMPARE(closer->texts, QStringList{kBlank});
        QCOMPARE(text("tbHoursIC"), QStringLiteral("0"));
        QVERIFY(get("tbHoursIC")->isHidden());
        QCOMPARE(text("tbTotal"), QStringLiteral("0"));
        // Still usable: a jurisdiction can be chosen next.
        closer->texts.clear();
        chooseWithDownArrow();
        QVERIFY(closer->texts.isEmpty());
        QCOMPARE(text("tbICHour"), QStringLiteral("$36.53"));
        QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
    }
};

QTEST_MAIN(WorksheetEstimateTest)
#include "test_estimate.moc"
