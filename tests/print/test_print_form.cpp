// Printing a form for real: through a private print server with a PDF printer, then
// reading the PDF back (pages, page size, colours, position, texts).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "cups/print_server.h"
#include "print/print_form.h"
#include "print/print_message.h"

using tf::test::PrintServer;

namespace {

const QColor kWorksheet(136, 255, 255);

// A window like the worksheet: its size and colour, a few texts near its edges.
class SampleForm : public QWidget {
public:
    SampleForm() {
        setWindowTitle(QStringLiteral("Sample Form"));
        setFixedSize(793, 633);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, kWorksheet);
        setPalette(pal);
        setAutoFillBackground(true);
        auto* title = new QLabel(QStringLiteral("Cost Estimate Worksheet"), this);
        QFont big = title->font();
        big.setPointSize(20);
        big.setBold(true);
        title->setFont(big);
        title->setGeometry(0, 10, 793, 40);
        title->setAlignment(Qt::AlignCenter);
        auto* rate = new QLineEdit(QStringLiteral("$36.53"), this);
        rate->setGeometry(440, 200, 80, 25);
        // The button has just been pressed: it has the focus, drawn with a translucent glow.
        auto* print = new QPushButton(QStringLiteral("Print Form"), this);
        print->setGeometry(40, 560, 120, 30);
        print->setFocus();
        auto* corner = new QLabel(QStringLiteral("Bottom Right Corner"), this);
        corner->setGeometry(600, 600, 190, 25);
    }
};

}  // namespace

class PrintFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString error = server_.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanup() {
        // Whatever a case did to the server, the next one finds it as at the start.
        if (const pid_t pid = server_.schedulerPid()) ::kill(pid, SIGCONT);
        if (!server_.running()) {
            const QString error = server_.start();
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        server_.removeQueue(QStringLiteral("Other"));
        server_.addQueue();
        server_.tool(QStringLiteral("cancel"), {QStringLiteral("-a"), QStringLiteral("PDF")});
        server_.tool(QStringLiteral("cupsaccept"), {QStringLiteral("PDF")});
        server_.tool(QStringLiteral("cupsenable"), {QStringLiteral("PDF")});
        server_.tool(QStringLiteral("lpadmin"),
                     {QStringLiteral("-p"), QStringLiteral("PDF"), QStringLiteral("-o"), QStringLiteral("PageSize=A4")});
    }
    void cleanupTestCase() { server_.stop(); }

    void submitsOnePageOfThePrintersPaper_data();
    void submitsOnePageOfThePrintersPaper();
    void printsTheWholeFormOnOnePageOfTheDefaultPrinter_data();
    void printsTheWholeFormOnOnePageOfTheDefaultPrinter();
    void saysWhyTheFormWasNotPrinted_data();
    void saysWhyTheFormWasNotPrinted();

private:
    PrintServer server_;
};

// The document as the print service received it, held in its spool while the printer is
// paused: one page of the printer's default paper, with the texts as text.
void PrintFormTest::submitsOnePageOfThePrintersPaper_data() {
    QTest::addColumn<QString>("pageSize");
    QTest::addColumn<double>("widthPt");
    QTest::addColumn<double>("heightPt");
    QTest::newRow("A4") << QStringLiteral("A4") << 595.0 << 842.0;
    QTest::newRow("US Letter") << QStringLiteral("Letter") << 612.0 << 792.0;
    QTest::newRow("US Legal") << QStringLiteral("Legal") << 612.0 << 1008.0;
    QTest::newRow("A5") << QStringLiteral("A5") << 420.0 << 595.0;
}

void PrintFormTest::submitsOnePageOfThePrintersPaper() {
    QFETCH(QString, pageSize);
    QFETCH(double, widthPt);
    QFETCH(double, heightPt);
    QString error = server_.tool(QStringLiteral("lpadmin"), {QStringLiteral("-p"), QStringLiteral("PDF"),
                                                             QStringLiteral("-o"), QStringLiteral("PageSize=") + pageSize});
    if (error.isEmpty()) error = server_.tool(QStringLiteral("cupsdisable"), {QStringLiteral("PDF")});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QDir spool(server_.spoolFolder());
    const QStringList before = spool.entryList({QStringLiteral("d*")}, QDir::Files);

    SampleForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QString problem = tf::printOnDefaultPrinter(form);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    QStringList documents = spool.entryList({QStringLiteral("d*")}, QDir::Files);
    for (const QString& old : before) documents.removeAll(old);
    QCOMPARE(documents.size(), 1);
    const QString document = spool.filePath(documents.first());
    const tf::test::PdfInfo info = tf::test::pdfInfo(document);
    QCOMPARE(info.pages, 1);
    QVERIFY2(qAbs(info.widthPt - widthPt) < 1.5 && qAbs(info.heightPt - heightPt) < 1.5,
             qPrintable(QStringLiteral("page of %1 x %2 pt").arg(info.widthPt).arg(info.heightPt)));
    const QString text = tf::test::pdfText(document);
    for (const char* expected : {"Cost Estimate Worksheet", "$36.53", "Bottom Right Corner", "Print Form"})
        QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(QStringLiteral("missing ") + expected + ":\n" + text));
}

void PrintFormTest::printsTheWholeFormOnOnePageOfTheDefaultPrinter_data() {
    QTest::addColumn<QString>("pageSize");
    QTest::addColumn<double>("widthPt");
    QTest::addColumn<double>("heightPt");
    QTest::newRow("A4") << QStringLiteral("A4") << 595.0 << 842.0;
    QTest::newRow("US Letter") << QStringLiteral("Letter") << 612.0 << 792.0;
}

void PrintFormTest::printsTheWholeFormOnOnePageOfTheDefaultPrinter() {
    QFETCH(QString, pageSize);
    QFETCH(double, widthPt);
    QFETCH(double, heightPt);
    const QString error = server_.tool(QStringLiteral("lpadmin"), {QStringLiteral("-p"), QStringLiteral("PDF"),
                                                                   QStringLiteral("-o"), QStringLiteral("PageSize=") + pageSize});
    QVERIFY2(error.isEmpty(), qPrintable(error));

    SampleForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSet<QString> before = server_.pdfs();

    const QString problem = tf::printOnDefaultPrinter(form);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    const QString pdf = server_.waitForNewPdf(before);
    QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("no PDF from the printer; see ") + server_.logFolder()));
    const tf::test::PdfInfo info = tf::test::pdfInfo(pdf);
    QCOMPARE(info.pages, 1);
    QVERIFY2(qAbs(info.widthPt - widthPt) < 1 && qAbs(info.heightPt - heightPt) < 1,
             qPrintable(QStringLiteral("page of %1 x %2 pt").arg(info.widthPt).arg(info.heightPt)));

    // The test printer's PostScript step turns what lies under a translucent touch (the
    // focused button) into a bitmap; the other texts stay text.
    const QString text = tf::test::pdfText(pdf);
    for (const char* expected : {"Cost Estimate Worksheet", "$36.53", "Bottom Right Corner"})
        QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(QStringLiteral("missing ") + expected + ":\n" + text));

    const QImage page = tf::test::pdfPage(pdf, server_.outputFolder());
    QVERIFY(!page.isNull());
    const tf::test::ColourArea area = tf::test::colourArea(page, kWorksheet);
    QVERIFY2(area.count > 0, "the worksheet colour is missing");
    const QRect box = area.box;
    // The form fills the printable width or height (within margins of at most a quarter
    // inch), keeps its proportions and is centred.
    const double pageW = page.width(), pageH = page.height();
    QVERIFY2(box.width() >= pageW - 36 || box.height() >= pageH - 36,
             qPrintable(QStringLiteral("image %1x%2 on a %3x%4 page").arg(box.width()).arg(box.height()).arg(pageW).arg(pageH)));
    QVERIFY2(qAbs(double(box.width()) / box.height() - 793.0 / 633.0) < 0.02,
             qPrintable(QStringLiteral("proportions %1x%2").arg(box.width()).arg(box.height())));
    QVERIFY2(qAbs(box.left() - (pageW - 1 - box.right())) <= 3 && qAbs(box.top() - (pageH - 1 - box.bottom())) <= 3,
             qPrintable(QStringLiteral("image at %1,%2 %3x%4 is not centred on a %5x%6 page")
                            .arg(box.left()).arg(box.top()).arg(box.width()).arg(box.height()).arg(pageW).arg(pageH)));
    // Most of the form is its background.
    QVERIFY2(area.count > qint64(box.width()) * box.height() * 8 / 10, "the background is not filled");
}

namespace {
enum class Trouble { NoDefaultPrinter, NoneIsTheDefault, RefusesJobs, ServiceStopped, ServiceFrozen };
}
Q_DECLARE_METATYPE(Trouble)

void PrintFormTest::saysWhyTheFormWasNotPrinted_data() {
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<QString>("expected");  // the message, up to the printer's own reason
    auto message = [](const char* reason) {
        return tf::notPrinted(QLatin1String(reason)).section(QStringLiteral("%1"), 0, 0);
    };
    QTest::newRow("no default printer") << Trouble::NoDefaultPrinter << message(tf::kNoDefaultPrinter);
    QTest::newRow("printers, but none is the default") << Trouble::NoneIsTheDefault << message(tf::kNoDefaultPrinter);
    QTest::newRow("printer not accepting jobs") << Trouble::RefusesJobs << message(tf::kPrinterRefusedJob);
    QTest::newRow("print service frozen") << Trouble::ServiceFrozen << message(tf::kServiceNotAnswering);
    QTest::newRow("print service stopped") << Trouble::ServiceStopped << message(tf::kServiceNotRunning);
}

void PrintFormTest::saysWhyTheFormWasNotPrinted() {
    QFETCH(Trouble, trouble);
    QFETCH(QString, expected);
    QString error;
    switch (trouble) {
        case Trouble::NoDefaultPrinter: error = server_.removeQueue(); break;
        case Trouble::NoneIsTheDefault:
            error = server_.removeQueue();
            if (error.isEmpty()) error = server_.addQueue(QStringLiteral("Other"), false);
            break;
        case Trouble::RefusesJobs:
            error = server_.tool(QStringLiteral("cupsreject"), {QStringLiteral("PDF")});
            break;
        case Trouble::ServiceStopped: server_.stop(); break;
        case Trouble::ServiceFrozen: QVERIFY(::kill(server_.schedulerPid(), SIGSTOP) == 0); break;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));

    SampleForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSet<QString> before = server_.pdfs();

    QElapsedTimer clock;
    clock.start();
    const QString message = tf::printOnDefaultPrinter(form);
    const qint64 took = clock.elapsed();

    QVERIFY2(message.startsWith(expected), qPrintable(message));
    QVERIFY2(message.endsWith(QLatin1Char('.')) && message.count(QLatin1String(". ")) == 0 && !message.contains('\n'),
             qPrintable(message));
    // An answer, not a hang (the frozen service takes its answer time-out).
    QVERIFY2(took < 10000, qPrintable(QStringLiteral("%1 ms").arg(took)));

    if (trouble == Trouble::ServiceFrozen) ::kill(server_.schedulerPid(), SIGCONT);
    if (server_.running()) {
        // Nothing reached the printer.
        QCOMPARE(server_.pendingJobs(), QString());
        QCOMPARE(server_.pdfs(), before);
    }
}

QTEST_MAIN(PrintFormTest)
#include "test_print_form.moc"
