// A long random use of the real worksheet window, by real key and mouse events: steps drawn
// from a table of what a user does (choosing from the list by key and by mouse, typing hours
// of every form, moving between boxes by Tab, Shift+Tab and clicks, Update, Print Form to a
// print service that is not there, Clear Form), with one check after every step: nothing
// crashed or hung, every message is one of the worksheet's own and a step shows no more than
// its handlers and its command may (one each), and the focus is in a visible, enabled
// control. Every 50 steps, once a jurisdiction is chosen and the five hours boxes hold plain
// numbers, two Updates must leave the exact figures, worked out here on their own: decimal
// products rounded half away from zero to the cent, and their sums.
//
//   TF_SOAK_SEED=7,8   the seeds to run (one fixed seed by default); every run prints its seed
//   TF_SOAK_SEEDS=3    and this many more, drawn at random
//   TF_SOAK_STEPS=n    steps per seed (1000)
//   TF_SOAK_TRACE=1    print every step as it starts (to find where a run crashed or hung)
#include <QAbstractItemView>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <optional>
#include <random>

#include "amount_oracle.h"
#include "print/print_message.h"
#include "worksheet_driver.h"

using tf::test::kBlank;
using tf::test::kNegative;
using tf::test::MessageCloser;
using tf::test::Worksheet;

namespace {

constexpr quint64 kDefaultSeed = 20261216;
const QString kNotPrinted = tf::notPrinted(QStringLiteral("%1")).section(QStringLiteral("%1"), 0, 0);

// Hours as users type them besides plain numbers: garbage, huge, negative, blank, and the
// forms of other regional settings.
const char* const kOddHours[] = {
    "",
    " ",
    "abc",
    "12abc",
    "-",
    ".",
    "1.2.3",
    "--1",
    "0x1F",
    "1e3",
    "nan",
    "inf",
    "99999999999999999999999999",
    "1e400",
    "123456789012345",
    "999999999999",
    "-3",
    "-0.5",
    "-0",
    "\u22122",
    "(5)",
    "1,234.5",
    "12,5",
    "1.234,5",
    "1 234,5",
    "1\u00a0234",
    "$12",
    "+3",
    " 4 ",
    "4.",
    ".5",
    "\u0663",
};

// The value of a number or amount text in units of 10^-scale.
std::optional<qint64> value(const QString& text, int scale) {
    return tf::testing::amountUnits<qint64>(text.toStdString(), scale);
}

// n / d rounded half away from zero.
qint64 rounded(qint64 n, qint64 d) {
    const qint64 q = n / d, r = n % d;
    return 2 * (r < 0 ? -r : r) >= d ? q + (n < 0 ? -1 : 1) : q;
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

    Worksheet sheet;
    std::unique_ptr<MessageCloser> closer;
    QTemporaryDir nowhere;
    std::mt19937_64 rng;
    qsizetype allowed = 0;  // messages the current step may still show
    QStringList recent;     // the last steps, for the report of a failure

    quint64 pick(quint64 n) { return rng() % n; }
    QWidget* focus() const { return QApplication::focusWidget(); }
    bool inHoursBox() const {
        for (const auto& row : tf::kRows)
            if (focus() == sheet.get(row.hours)) return true;
        return false;
    }
    // Before a step acts: how many messages it may show. Leaving an hours box runs its
    // handler (one message); a command runs its own (Update and a choice run all five).
    void mayShow(int byTheCommand, bool movesFocus = true) {
        allowed = closer->texts.size() + byTheCommand + (movesFocus && inHoursBox() ? 1 : 0);
    }
    void type(const QString& text) {
        QWidget* w = focus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) QTest::keyClick(w, Qt::Key_Backspace);
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(w, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void clickAt(QWidget* w, QPoint at) const {
        QTest::mouseClick(sheet.form->windowHandle(), Qt::LeftButton, {},
                          w->mapTo(sheet.form.get(), at));
        QTest::qWait(0);
    }

    // --- The steps a user takes.
    void typeNumber() {
        mayShow(0, false);
        if (!qobject_cast<QLineEdit*>(focus())) return;
        QString hours = QString::number(pick(10) < 7 ? pick(100) : pick(100000));
        // Halves often: with an odd number of cents they make the ties of the rounding.
        if (pick(2))
            hours += QLatin1Char('.') + (pick(2) ? QStringLiteral("5")
                                                 : QString::number(pick(1000)).left(int(pick(3)) + 1));
        type(pick(10) ? hours : QLatin1Char('-') + hours);
    }
    void typeOdd() {
        mayShow(0, false);
        if (qobject_cast<QLineEdit*>(focus()))
            type(QString::fromUtf8(kOddHours[pick(std::size(kOddHours))]));
    }
    void tab() { mayShow(0); QTest::keyClick(focus(), Qt::Key_Tab); }
    void backtab() { mayShow(0); QTest::keyClick(focus(), Qt::Key_Tab, Qt::ShiftModifier); }
    void clickControl() {
        mayShow(0);
        QList<QWidget*> controls;
        for (QWidget* w : sheet.form->findChildren<QWidget*>())
            if (!w->objectName().isEmpty() && sheet.form->control(w->objectName()) == w &&
                !qobject_cast<QPushButton*>(w))
                controls << w;
        QWidget* w = controls[qsizetype(pick(quint64(controls.size())))];
        clickAt(w, w->rect().center());
    }
    void chooseByKey() {
        mayShow(5);
        auto* state = sheet.get<QComboBox>("cbState");
        if (focus() != state->lineEdit()) clickAt(state, state->rect().center());
        QTest::keyClick(focus(), pick(3) ? Qt::Key_Down : Qt::Key_Up);
    }
    void chooseByMouse() {
        mayShow(5);
        auto* state = sheet.get<QComboBox>("cbState");
        clickAt(state, QPoint(state->width() - 6, state->height() / 2));  // its arrow
        QAbstractItemView* list = state->view();
        if (!list->isVisible()) return;  // a message from the box left took the click
        const QModelIndex item = list->model()->index(int(pick(quint64(state->count()))), 0);
        list->scrollTo(item);
        QApplication::processEvents();
        const QRect r = list->visualRect(item);
        if (list->viewport()->rect().contains(r.center())) {
            // The pointer comes down over the list to the entry, then clicks it.
            QTest::mouseMove(list->viewport(), QPoint(1, 1));
            QTest::mouseMove(list->viewport(), r.center());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        } else {
            QTest::keyClick(list, Qt::Key_Escape);
        }
        QTest::qWait(0);
    }
    void update() { mayShow(5); sheet.click("cbUpdate"); }
    void repaint() { mayShow(0, false); sheet.form->update(); }  // runs no command
    void printForm() { mayShow(1); sheet.click("cbPrint"); }
    void clearForm() { mayShow(0); sheet.click("cbClear"); }
    void spaceOnButton() {
        auto* button = qobject_cast<QPushButton*>(focus());
        const QString name = button ? button->objectName() : QString();
        mayShow(name == QLatin1String("cbUpdate") ? 5 : name == QLatin1String("cbPrint") ? 1 : 0, false);
        if (button && name != QLatin1String("cbClose")) QTest::keyClick(button, Qt::Key_Space);
    }

    struct Kind {
        const char* name;
        int weight;
        void (SoakTest::*run)();
    };
    // What a user does, and how often: typing and moving on most, starting over rarely.
    static constexpr Kind kKinds[] = {
        {"type a number", 24, &SoakTest::typeNumber},   {"type odd hours", 8, &SoakTest::typeOdd},
        {"Tab", 16, &SoakTest::tab},                    {"Shift+Tab", 6, &SoakTest::backtab},
        {"click a control", 10, &SoakTest::clickControl}, {"choose by key", 4, &SoakTest::chooseByKey},
        {"choose by mouse", 2, &SoakTest::chooseByMouse}, {"Update", 4, &SoakTest::update},
        {"Space on a button", 2, &SoakTest::spaceOnButton}, {"Print Form", 2, &SoakTest::printForm},
        {"Clear Form", 1, &SoakTest::clearForm},       {"a repaint", 2, &SoakTest::repaint},
    };

    // Runs one step and checks what must hold after every step; empty when it holds.
    QString step(const Kind& kind) {
        recent << QString::fromLatin1(kind.name);
        if (recent.size() > 10) recent.removeFirst();
        if (qEnvironmentVariableIsSet("TF_SOAK_TRACE")) qInfo("step: %s", kind.name);
        const qsizetype before = closer->texts.size();
        (this->*kind.run)();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        if (!sheet.form->isActiveWindow()) (void)QTest::qWaitForWindowActive(sheet.form.get(), 1000);

        const QStringList shown = closer->texts.mid(before);
        for (const QString& text : shown)
            if (text != kNegative && text != kBlank && !text.startsWith(kNotPrinted))
                return QStringLiteral("a message that is not the worksheet's: ") + text;
        if (closer->texts.size() > allowed)
            return QStringLiteral("%1 messages, at most %2 expected: %3")
                .arg(shown.size()).arg(allowed - before).arg(shown.join(" | "));
        QWidget* f = focus();
        if (!f || f->window() != sheet.form.get() || !f->isVisible() || !f->isEnabled())
            return QStringLiteral("the focus is not in a visible, enabled control of the worksheet: ") +
                   (f ? f->metaObject()->className() + QStringLiteral(" ") + Worksheet::focusName()
                      : QStringLiteral("none"));
        return {};
    }

    // With a jurisdiction chosen and plain numbers in the hours boxes, two Updates leave
    // every figure exact. Empty when it holds or does not apply (`checked` counts the checks).
    QString exactFigures(int& checked) {
        static const QRegularExpression plain(QStringLiteral("^-?\\d{1,8}(\\.\\d{1,4})?$"));
        if (sheet.get<QComboBox>("cbState")->currentIndex() < 0) return {};
        for (const auto& row : tf::kRows)
            if (!plain.match(sheet.text(row.hours)).hasMatch()) return {};
        for (int i = 0; i < 2; ++i)
            if (const QString failed = step({"Update (exact figures)", 0, &SoakTest::update});
                !failed.isEmpty())
                return failed;
        qint64 costs = 0, hours = 0;
        for (int row = 0; row < 5; ++row) {
            const std::optional<qint64> average = value(sheet.text(tf::kRows[row].average), 2);
            qint64 components = 0;
            for (const char* c : {tf::kRows[row].salary, tf::kRows[row].ast, tf::kRows[row].nps}) components += value(sheet.text(c), 2).value_or(-1);
            const qint64 h = *value(sheet.text(tf::kRows[row].hours), 4);
            const qint64 cost = rounded(average.value_or(0) * h, 10000);
            if (average != components || value(sheet.text(tf::kRows[row].cost), 2) != cost)
                return QStringLiteral("row %1: %2 hours at %3 (components %4 cents) show %5, exactly %6 cents")
                    .arg(row + 1).arg(sheet.text(tf::kRows[row].hours), sheet.text(tf::kRows[row].average)).arg(components)
                    .arg(sheet.text(tf::kRows[row].cost)).arg(cost);
            costs += cost;
            hours += h;
        }
        if (value(sheet.text("tbTotal"), 2) != costs ||
            value(sheet.text("tbTotHours"), 0) != rounded(hours, 10000))
            return QStringLiteral("totals %1 and %2 hours, exactly %3 cents and %4 hours")
                .arg(sheet.text("tbTotal"), sheet.text("tbTotHours")).arg(costs).arg(rounded(hours, 10000));
        ++checked;
        return {};
    }

private slots:
    void initTestCase() {
        QVERIFY(nowhere.isValid());
        // A print service that nobody answers: a socket path where nothing listens.
        qputenv("CUPS_SERVER", nowhere.filePath(QStringLiteral("no-print-service")).toLocal8Bit());
    }

    void soak_data() {
        QTest::addColumn<quint64>("seed");
        QList<quint64> seeds;
        for (const QString& s :
             qEnvironmentVariable("TF_SOAK_SEED").split(QLatin1Char(','), Qt::SkipEmptyParts))
            seeds << s.trimmed().toULongLong();
        if (seeds.isEmpty()) seeds << kDefaultSeed;
        std::random_device fresh;
        for (int i = qEnvironmentVariableIntValue("TF_SOAK_SEEDS"); i > 0; --i)
            seeds << (quint64(fresh()) << 32 | fresh());
        for (quint64 seed : seeds)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void soak() {
        QFETCH(quint64, seed);
        const int steps =
            qEnvironmentVariableIsSet("TF_SOAK_STEPS") ? qEnvironmentVariableIntValue("TF_SOAK_STEPS") : 1000;
        qInfo("soak of %d steps, seed %llu (TF_SOAK_SEED=%llu repeats it)", steps, seed, seed);
        rng.seed(seed);
        recent.clear();
        QVERIFY(sheet.open(std::nullopt));  // as the program opens it, under the user's settings
        closer = std::make_unique<MessageCloser>();
        int total = 0;
        for (const Kind& k : kKinds) total += k.weight;
        int checked = 0, marks = 0;
        for (int n = 1; n <= steps; ++n) {
            quint64 at = pick(quint64(total));
            const Kind* kind = kKinds;
            while (at >= quint64(kind->weight)) at -= quint64(kind++->weight);
            QString failed = step(*kind);
            if (failed.isEmpty() && n % 50 == 0) {
                ++marks;
                failed = exactFigures(checked);
            }
            QVERIFY2(failed.isEmpty(), qPrintable(QStringLiteral("seed %1, step %2: %3\n  after: %4")
                                                      .arg(seed).arg(n).arg(failed, recent.join(", "))));
        }
        qInfo("%d of %d checks of the exact figures applied, %lld messages closed", checked, marks,
              static_cast<long long>(closer->texts.size()));
        QVERIFY2(checked > 0 || steps < 500, "the exact figures were never checked");
        closer.reset();
        sheet.close();
    }
};

// As QTEST_MAIN, but every seed is printed however long the run: QtTest stops printing
// messages after 2,000 of them unless told otherwise.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    SoakTest test;
    return QTest::qExec(&test, QApplication::arguments()
                                   << QStringLiteral("-maxwarnings") << QStringLiteral("0"));
}

#include "test_soak.moc"
