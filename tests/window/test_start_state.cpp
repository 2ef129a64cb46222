// The worksheet as a user meets it when it starts, and after Clear Form: the focus
// cycle, the lists, the boxes, the help text, the look, and what typing must not do.
#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>

#include "estimate/initialise.h"
#include "refdata/cost_table.h"
#include "window/control_factory.h"
#include "window/font_substitute.h"
#include "worksheet_driver.h"

using tf::test::Worksheet;

namespace {

const auto kLists = [] {
    std::array<const char*, 1 + tf::kColumnCount> lists{tf::name::cbState};
    std::copy(tf::kColumnLists.begin(), tf::kColumnLists.end(), lists.begin() + 1);
    return lists;
}();

}  // namespace

class StartStateTest : public QObject {
    Q_OBJECT

    Worksheet sheet;
    std::unique_ptr<tf::UserForm2>& form = sheet.form;

    template <class T = QWidget>
    T* get(const char* name) { return sheet.get<T>(name); }
    static QString focusName() { return Worksheet::focusName(); }
    QStringList snapshot() const { return sheet.snapshot(); }
    QStringList tabCycle(int presses) {
        QStringList seen{focusName()};
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << focusName();
        }
        return seen;
    }
    void chooseFirstState() {
        auto* state = get<QComboBox>("cbState");
        state->setFocus();
        QTest::keyClick(state, Qt::Key_Down);
        QCOMPARE(state->currentIndex(), 0);
    }

private slots:
    void init() { QVERIFY(sheet.open()); }
    void cleanup() { sheet.close(); }

    void windowFrame() {
        QCOMPARE(form->objectName(), QStringLiteral("UserForm2"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Cost Estimate Worksheet"));
        QCOMPARE(form->size(), QSize(793, 633));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(form->font().pointSizeF(), 9.75);
        QVERIFY(!form->font().bold());
        // Verdana, or where it is missing the platform's stand-in (never a family Qt merely
        // falls back to, which on Windows is whatever comes first in the alphabet).
        const QString verdana = QStringLiteral("Verdana");
        QCOMPARE(QFontInfo(form->font()).family(),
                 QFontDatabase::hasFamily(verdana) ? verdana : tf::verdanaSubstitute());
        QCOMPARE(form->findChildren<QWidget*>().size() >= 52, true);
        int controls = 0;
        for (QWidget* w : form->findChildren<QWidget*>())
            if (!w->objectName().isEmpty() && form->control(w->objectName()) == w) ++controls;
        QCOMPARE(controls, 52);
    }

    void focusCycleBeforeChoice() {
        QCOMPARE(focusName(), QStringLiteral("cbState"));
        const QStringList expected{"cbState",  "cbUpdate", "cbPrint", "cbClear",
                                   "cbClose",  "tbTotHours", "cbState", "cbUpdate"};
        QCOMPARE(tabCycle(7), expected);
        // Shift+Tab runs the same cycle backwards.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(focusName(), QStringLiteral("cbState"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(focusName(), QStringLiteral("tbTotHours"));
    }

    void focusCycleAfterChoice() {
        chooseFirstState();
        QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
        get("cbState")->setFocus();
        const QStringList expected{"cbState",   "tbHoursIC", "tbHoursWC", "tbHoursNM",
                                   "tbHoursAP", "tbHoursTax", "cbUpdate", "cbPrint",
                                   "cbClear",   "cbClose",   "tbTotHours", "cbState"};
        QCOMPARE(tabCycle(11), expected);
    }

    void listsHoldTheTableWithNoSelection_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("probe");
        QTest::addColumn<QString>("probeText");
        QTest::newRow("cbState") << "cbState" << "Alabama" << "Wyoming" << 8 << "District of Columbia";
        QTest::newRow("cbState PR") << "cbState" << "Alabama" << "Wyoming" << 39 << "Puerto Rico";
        QTest::newRow("cbState VI") << "cbState" << "Alabama" << "Wyoming" << 47 << "Virgin Islands";
        QTest::newRow("cbICSal") << "cbICSal" << "$28.91" << "$32.95" << 39 << "$15.27";
        QTest::newRow("cbWKAST") << "cbWKAST" << "$6.37" << "$9.14" << 42 << "$1.16";
        QTest::newRow("cbAPNPS") << "cbAPNPS" << "$1.57" << "$13.49" << 13 << "$23.13";
        QTest::newRow("cbTaxNPS") << "cbTaxNPS" << "$1.42" << "$14.97" << 47 << "$19.9";
        QTest::newRow("cbTaxSal") << "cbTaxSal" << "$33.23" << "$43.27" << 14 << "$48.83";
    }
    void listsHoldTheTableWithNoSelection() {
        QFETCH(QString, list);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(int, probe);
        QFETCH(QString, probeText);
        auto* c = get<QComboBox>(list.toLatin1().constData());
        QCOMPARE(c->count(), 53);
        QCOMPARE(c->itemText(0), first);
        QCOMPARE(c->itemText(52), last);
        QCOMPARE(c->itemText(probe), probeText);
        QCOMPARE(c->currentIndex(), -1);
    }

    void everyListStartsEmptyHanded() {
        for (const char* name : kLists) {
            auto* c = get<QComboBox>(name);
            QCOMPARE(c->count(), 53);
            QCOMPARE(c->currentIndex(), -1);
            if (QByteArray(name) == "cbState") {
                QVERIFY(c->isEnabled());
                QCOMPARE(c->currentText(), QStringLiteral("Select a State First"));
                QCOMPARE(c->findText(QStringLiteral("Select a State First")), -1);
            } else {
                QVERIFY2(!c->isEnabled(), name);
                QVERIFY2(c->currentText().isEmpty(), name);
            }
        }
    }

    void boxesAndHelpAtStart() {
        for (const auto& row : tf::kRows) {
            QVERIFY2(get(row.hours)->isHidden(), row.hours);
            QCOMPARE(get<QLineEdit>(row.hours)->text(), QStringLiteral("0"));
        }
        for (const char* name : {"tbICHour", "tbWKHour", "tbNMHour", "tbAPHour", "tbTaxHour"}) {
            QVERIFY(!get(name)->isHidden());
            QVERIFY(get<QLineEdit>(name)->text().isEmpty());
        }
        for (const char* name : {"tbCostIC", "tbCostWC", "tbCostNM", "tbCostAP", "tbCostTax", "tbTotal",
                                 "tbTotHours"})
            QCOMPARE(get<QLineEdit>(name)->text(), QStringLiteral("0"));
        QVERIFY(get("tbTotHours")->isEnabled());
        QVERIFY(!get("lbHelp")->isHidden());
        QCOMPARE(get<QLabel>("lbHelp")->text(), QString::fromLatin1(tf::kFirstInstruction));
    }

    void readOnlyControlsCannotBeReached() {
        const char* locked[] = {"cbICSal",  "cbTaxNPS", "tbICHour", "tbTaxHour", "tbCostIC",
                                "tbCostTax", "tbTotal"};
        for (const char* name : locked) {
            QWidget* w = get(name);
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            QCOMPARE(focusName(), QStringLiteral("cbState"));
            const QString before = snapshot().join('\n');
            QTest::keyClicks(w, "123");
            QCOMPARE(snapshot().join('\n'), before);
        }
        // Labels never take the focus either.
        for (const char* name : {"lbTitle", "lbSalary", "lbTotal", "lbHelp"}) {
            QWidget* w = get(name);
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            QCOMPARE(focusName(), QStringLiteral("cbState"));
        }
    }

    void typingIntoTheStateListChoosesNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("a jurisdiction's name") << "Alabama";
        QTest::newRow("part of a name") << "Wyo";
        QTest::newRow("no jurisdiction") << "Atlantis";
        QTest::newRow("the prompt") << "Select a State First";
    }
    void typingIntoTheStateListChoosesNothing() {
        QFETCH(QString, typed);
        auto* state = get<QComboBox>("cbState");
        QSignalSpy activated(state, &QComboBox::activated);
        state->lineEdit()->selectAll();
        QTest::keyClicks(state, typed);
        QTest::keyClick(state, Qt::Key_Return);
        QTest::keyClick(state, Qt::Key_Enter);
        QTest::keyClick(state, Qt::Key_Tab);  // leaving the field chooses nothing either
        QCOMPARE(focusName(), QStringLiteral("cbUpdate"));
        // and the list shows the prompt again, not a name whose figures are not shown
        QCOMPARE(state->currentText(), QStringLiteral("Select a State First"));
        QCOMPARE(state->count(), 53);
        QCOMPARE(state->currentIndex(), -1);
        QCOMPARE(activated.count(), 0);
        QVERIFY(get<QLineEdit>("tbICHour")->text().isEmpty());
        QVERIFY(get("tbHoursIC")->isHidden());
        QCOMPARE(get<QLabel>("lbHelp")->text(), QString::fromLatin1(tf::kFirstInstruction));
    }

    void typedTextGivesWayToTheChosenName() {
        chooseFirstState();
        auto* state = get<QComboBox>("cbState");
        state->setFocus(Qt::TabFocusReason);
        state->lineEdit()->selectAll();
        QTest::keyClicks(state, "Texas");
        QTest::keyClick(state, Qt::Key_Return);
        QCOMPARE(state->currentIndex(), 0);
        QTest::keyClick(state, Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("tbHoursIC"));
        QCOMPARE(state->currentText(), QStringLiteral("Alabama"));
        QCOMPARE(get<QLineEdit>("tbICHour")->text(), QStringLiteral("$36.53"));
    }

    void theWheelOverTheClosedListChoosesNothing() {
        auto* state = get<QComboBox>("cbState");
        QSignalSpy activated(state, &QComboBox::activated);
        const QPoint at = state->rect().center();
        for (int delta : {-120, -120, 120}) {
            QWheelEvent wheel(at, state->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(state, &wheel);
        }
        QCOMPARE(activated.count(), 0);
        QCOMPARE(state->currentIndex(), -1);
        QVERIFY(get("tbHoursIC")->isHidden());
    }

    void altWithAnyLetterTriggersNothing() {
        const QStringList before = snapshot();
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            // As the window system delivers it: through the window, to the focus widget.
            QTest::keyClick(form->windowHandle(), letter, Qt::AltModifier);
            QVERIFY(form->isVisible());
        }
        QCOMPARE(snapshot(), before);
        QCOMPARE(focusName(), QStringLiteral("cbState"));
    }

    void ampersandsShowOnce_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("button") << "cbClose" << "Close & Exit";
        QTest::newRow("header") << "lbAST" << "AS&T";
        QTest::newRow("totals") << "lbTotal" << "Total Hours & Cost:";
    }
    void ampersandsShowOnce() {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QWidget* w = form->control(name);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), shown);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            QCOMPARE(label->text(), shown);
            QVERIFY(!label->buddy());
        }
    }

    void screenReaderNamesSayRowAndColumn_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("state") << "cbState" << "State";
        QTest::newRow("salary list") << "cbICSal" << "Initial Claims, Salary";
        QTest::newRow("AS&T list") << "cbAPAST" << "Appeals, AS&T";
        QTest::newRow("NPS list") << "cbTaxNPS" << "Tax, NPS";
        QTest::newRow("average") << "tbNMHour" << "Non Monetary, Average Hourly Cost";
        QTest::newRow("hours") << "tbHoursWC" << "Weekly Claims, Estimated Hours";
        QTest::newRow("cost") << "tbCostIC" << "Initial Claims, Category Cost";
        QTest::newRow("total hours") << "tbTotHours" << "Total Hours";
        QTest::newRow("total cost") << "tbTotal" << "Total Cost";
    }
    void screenReaderNamesSayRowAndColumn() {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        chooseFirstState();  // a list is named after its role, not after the figure it shows
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(form->control(name));
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), spoken);
        if (auto* list = qobject_cast<QComboBox*>(form->control(name))) {
            QCOMPARE(a->role(), QAccessible::ComboBox);
            QVERIFY(a->textInterface());
            QCOMPARE(a->textInterface()->text(0, -1), list->currentText());
            QVERIFY(!list->currentText().isEmpty());
        }
    }

    void tooltipsOnlyWhereGiven() {
        const QHash<QString, QString> tips{
            {"lbSalary", "Average Salary per Function"},
            {"lbAST", "Administration, Services, & Technical Support Cost"},
            {"lbNPS", "Non-Personal Services Costs"},
            {"lbHrlyCost", "Total Average Hourly Costs"},
            {"cbUpdate", "Updates Costs"},
            {"cbPrint", "Print to Default Printer"},
            {"cbClear", "Reset the Form"},
            {"cbClose", "Quit the Application"}};
        int withTip = 0;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || form->control(w->objectName()) != w) continue;
            QCOMPARE(w->toolTip(), tips.value(w->objectName()));
            if (!w->toolTip().isEmpty()) ++withTip;
        }
        QCOMPARE(withTip, tips.size());
    }

    void theWindowLooksRight() {
        const QImage image = form->grab().toImage();
        QCOMPARE(image.size() / image.devicePixelRatio(), QSize(793, 633));
        const qreal dpr = image.devicePixelRatio();
        // Open background between the controls, and a row label's own colour.
        for (QPoint p : {QPoint(5, 620), QPoint(780, 300), QPoint(400, 520)})
            QCOMPARE(image.pixelColor(p * dpr), QColor(136, 255, 255));
        QCOMPARE(image.pixelColor(QPoint(20, 205) * dpr), QColor(136, 255, 255));
        // The headers are a shade apart from the window.
        QCOMPARE(image.pixelColor(QPoint(180, 170) * dpr), QColor(128, 255, 255));
    }

    // The window is painted itself, not only its children: whatever waits for the window's
    // first paint (the start-up benchmark) would otherwise wait for ever.
    void theWindowItselfIsPainted() {
        struct PaintSeen : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* e) override { paints += e->type() == QEvent::Paint; return false; }
        } seen;
        form->installEventFilter(&seen);
        form->repaint();
        form->removeEventFilter(&seen);
        QCOMPARE(seen.paints, 1);
    }

    void focusableControlsDoNotOverlap() {
        QList<QWidget*> focusable;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || form->control(w->objectName()) != w) continue;
            if (qobject_cast<QLabel*>(w)) continue;
            focusable << w;
        }
        QCOMPARE(focusable.size(), 37);
        for (int i = 0; i < focusable.size(); ++i)
            for (int j = i + 1; j < focusable.size(); ++j)
                QVERIFY2(!focusable[i]->geometry().intersects(focusable[j]->geometry()),
                         qPrintable(focusable[i]->objectName() + " / " + focusable[j]->objectName()));
        // The title reaches past the left edge and ends at the right one.
        QCOMPARE(get("lbTitle")->geometry(), QRect(-16, 16, 809, 41));
        // Labels lie beneath the controls they overlap.
        QWidget* page = get("cbState")->parentWidget();
        QVERIFY(page->children().indexOf(get("lbState")) < page->children().indexOf(get("cbState")));
    }

    void fontsAndColours() {
        QCOMPARE(get("lbTitle")->font().pointSizeF(), 24.0);
        QVERIFY(get("lbTitle")->font().bold());
        QCOMPARE(get("lbState")->font().pointSizeF(), 15.75);
        QCOMPARE(get("lbHelp")->font().pointSizeF(), 11.25);
        QVERIFY(get("tbCostIC")->font().bold());
        QVERIFY(!get("tbHoursIC")->font().bold());
        QVERIFY(!get("cbUpdate")->font().bold());
        for (QWidget* w : form->findChildren<QWidget*>()) {
            QVERIFY(!w->font().italic());
            QVERIFY(!w->font().underline());
        }
        QCOMPARE(get("cbICSal")->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(64, 0, 64));
        QCOMPARE(get("tbICHour")->palette().color(QPalette::Disabled, QPalette::Text), QColor(64, 0, 64));
        QCOMPARE(get("tbCostIC")->palette().color(QPalette::Disabled, QPalette::Base), QColor(255, 255, 255));
    }

    // The window fits its screen's work area, scrolling where it must (window.small_screen): what
    // Tab, the worksheet or Clear Form gives the focus to is whole on screen and takes a click.
    void everyControlOnScreenWhenFocused() {
        const QRect area = form->screen()->availableGeometry();
        const QSize room = area.size().shrunkBy(form->windowHandle()->frameMargins());
        QVERIFY(area.contains(form->frameGeometry()));
        QCOMPARE(form->size() == QSize(793, 633), room.width() >= 793 && room.height() >= 633);
        QStringList reached, unseen;
        auto look = [&] {
            QWidget* w = QApplication::focusWidget();
            const QRect shown(w->mapTo(form.get(), QPoint()), w->size());
            QWidget* hit = form->childAt(shown.center());
            reached << focusName();
            if (!form->rect().contains(shown) || (hit != w && !w->isAncestorOf(hit)) ||
                !area.contains(shown.translated(form->mapToGlobal(QPoint()))))
                unseen << focusName();
        };
        chooseFirstState();
        for (int i = 0; i < 11; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab)) look();
        get("cbClear")->setFocus(Qt::OtherFocusReason);
        look();
        sheet.click("cbClear");
        look();
        QVERIFY(reached.contains(QStringLiteral("cbClose")) && reached.last() == QStringLiteral("cbState"));
        QVERIFY2(unseen.isEmpty() && get("tbHoursIC")->isHidden(), qPrintable(unseen.join(", ")));
    }

    void clearFormRestoresTheStartState() {
        const QStringList start = snapshot();
        chooseFirstState();
        QTest::keyClicks(get("tbHoursIC"), "12");
        QVERIFY(snapshot() != start);
        for (int i = 0; i < 3; ++i) {
            sheet.click("cbClear");  // the old controls go once the click is over
            QCOMPARE(snapshot(), start);
            QCOMPARE(focusName(), QStringLiteral("cbState"));
        }
        QCOMPARE(tabCycle(6).last(), QStringLiteral("cbState"));
    }

    void clearFormKeepsTheWindowInPlace() {
        form->move(120, 80);
        const QPoint where = form->pos();
        sheet.click("cbClear");
        QCOMPARE(form->pos(), where);
        QVERIFY(form->isVisible());
    }

    void closeByTitleBarRunsNoHandler() {
        chooseFirstState();
        auto* ic = get<QLineEdit>("tbHoursIC");
        ic->setFocus();
        ic->setText("abc");
        bool messageSeen = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                messageSeen = true;
                m->close();
            }
        });
        watch.start(5);
        form->close();
        QTest::qWait(50);
        QVERIFY(!messageSeen);
        QCOMPARE(ic->text(), QStringLiteral("abc"));
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(StartStateTest)
#include "test_start_state.moc"
