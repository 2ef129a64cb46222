// Print Form on the worksheet as a user presses it: an estimate for Alabama comes out of a
// real (private) print server as a PDF with the worksheet's texts; without a printer the
// user reads why in a message box and the worksheet stays as it was.
#include <memory>

#include "cups/print_server.h"
#include "print/print_message.h"
#include "worksheet_driver.h"

using tf::test::MessageCloser;
using tf::test::PrintServer;
using tf::test::Worksheet;

class PrintUserFormTest : public QObject {
    Q_OBJECT

    PrintServer server_;
    Worksheet sheet_;
    std::unique_ptr<tf::UserForm2>& form_ = sheet_.form;

    template <class T = QWidget>
    T* get(const char* name) { return sheet_.get<T>(name); }
    void click(const char* name) { sheet_.click(name); }
    QStringList snapshot() const { return sheet_.snapshot(); }
    // Alabama (the first entry) by arrow key, then hours typed box by box with Tab.
    void estimateForAlabama(const QStringList& hours) {
        auto* state = get<QComboBox>("cbState");
        QCOMPARE(QApplication::focusWidget(), state);
        QTest::keyClick(state, Qt::Key_Down);
        QCOMPARE(state->currentIndex(), 0);
        QCOMPARE(state->currentText(), QStringLiteral("Alabama"));
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(QApplication::focusWidget(), get(tf::kRows[row].hours));
            sheet_.typeHours(row, hours[row]);
        }
    }
private slots:
    void initTestCase() {
        const QString error = server_.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void init() { QVERIFY(sheet_.open()); }
    void cleanup() {
        form_.reset();
        QApplication::setPalette(QApplication::style()->standardPalette());
        if (!server_.running()) {
            const QString error = server_.start();
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        server_.addQueue();
        server_.tool(QStringLiteral("cupsenable"), {QStringLiteral("PDF")});
    }
    void cleanupTestCase() { server_.stop(); }

    void printsTheEstimate_data() {
        QTest::addColumn<QStringList>("hours");
        QTest::addColumn<QString>("totalHours");
        QTest::addColumn<QString>("totalCost");
        QTest::addColumn<bool>("darkDesktop");
        // Alabama's average hourly costs: $36.53, $36.42, $38.62, $46.47, $41.99.
        QTest::newRow("whole hours") << QStringList{"10", "20", "30", "40", "50"} << QStringLiteral("150")
                                     << QStringLiteral("$6,210.60") << false;
        QTest::newRow("Initial Claims only") << QStringList{"1000", "0", "0", "0", "0"} << QStringLiteral("1,000")
                                             << QStringLiteral("$36,530.00") << false;
        // Paper has the light look whatever the desktop's scheme.
        QTest::newRow("dark desktop") << QStringList{"10", "20", "30", "40", "50"} << QStringLiteral("150")
                                      << QStringLiteral("$6,210.60") << true;
    }
    void printsTheEstimate() {
        QFETCH(QStringList, hours);
        QFETCH(QString, totalHours);
        QFETCH(QString, totalCost);
        QFETCH(bool, darkDesktop);
        if (darkDesktop) {
            QApplication::setPalette(tf::test::darkPalette());
            QVERIFY(sheet_.open());
        }
        estimateForAlabama(hours);
        QCOMPARE(get<QLineEdit>("tbICHour")->text(), QStringLiteral("$36.53"));
        QCOMPARE(get<QLineEdit>("tbTotal")->text(), totalCost);
        QCOMPARE(get<QLineEdit>("tbTotHours")->text(), totalHours);
        const QStringList before = snapshot();
        const QSet<QString> pdfsBefore = server_.pdfs();
        // The printer waits until the submitted document has been read from the spool.
        QString error = server_.tool(QStringLiteral("cupsdisable"), {QStringLiteral("PDF")});
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QDir spool(server_.spoolFolder());
        const QStringList spooledBefore = spool.entryList({QStringLiteral("d*")}, QDir::Files);

        MessageCloser closer;
        click("cbPrint");
        QVERIFY2(closer.texts.isEmpty(), qPrintable(closer.texts.join('\n')));

        // Every text of the worksheet is in the document as text, the lists' and buttons' too.
        QStringList spooled = spool.entryList({QStringLiteral("d*")}, QDir::Files);
        for (const QString& old : spooledBefore) spooled.removeAll(old);
        QCOMPARE(spooled.size(), 1);
        const QString submitted = tf::test::pdfText(spool.filePath(spooled.first()));
        for (const QString& expected :
             {QStringLiteral("Cost Estimate Worksheet"), QStringLiteral("Alabama"), QStringLiteral("$28.91"),
              QStringLiteral("$36.53"), totalHours, totalCost, QStringLiteral("Print Form"),
              QStringLiteral("Close & Exit"), QStringLiteral("You have now entered all of the information")})
            QVERIFY2(submitted.contains(expected), qPrintable(QStringLiteral("missing ") + expected + ":\n" + submitted));
        error = server_.tool(QStringLiteral("cupsenable"), {QStringLiteral("PDF")});
        QVERIFY2(error.isEmpty(), qPrintable(error));

        // What the printer made of it. Its PostScript step turns what lies under the
        // style's translucent touches (buttons, the list's frame) into bitmaps.
        const QString pdf = server_.waitForNewPdf(pdfsBefore);
        QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("no PDF from the printer; see ") + server_.logFolder()));
        QCOMPARE(tf::test::pdfInfo(pdf).pages, 1);
        const QString text = tf::test::pdfText(pdf);
        for (const QString& expected : {QStringLiteral("Cost Estimate Worksheet"), QStringLiteral("$36.53"),
                                        totalCost, QStringLiteral("Total Hours & Cost:")})
            QVERIFY2(text.contains(expected), qPrintable(QStringLiteral("missing ") + expected + ":\n" + text));

        const QImage page = tf::test::pdfPage(pdf, server_.outputFolder());
        QVERIFY(!page.isNull());
        const tf::test::ColourArea area = tf::test::colourArea(page, QColor(136, 255, 255));
        QVERIFY2(area.count > qint64(page.width()) * page.height() / 4,
                 qPrintable(QStringLiteral("%1 pixels of the worksheet colour").arg(area.count)));
        // The fields and buttons that follow the desktop are light on paper: a strip of
        // each where no text stands (right of the state's name, left of the figures and
        // captions).
        const qreal scale = area.box.width() / qreal(form_->sheet().width());
        for (const char* name : {"cbState", "tbHoursIC", "tbHoursTax", "tbTotHours", "cbUpdate", "cbClose"}) {
            QWidget* w = get(name);
            const int x = qobject_cast<QComboBox*>(w) ? w->width() * 3 / 4 : 5;
            const QRect strip(w->mapTo(&form_->sheet(), QPoint(x, w->height() / 2 - 2)), QSize(5, 4));
            const QRect onPage(area.box.topLeft() + (QPointF(strip.topLeft()) * scale).toPoint(),
                               (QSizeF(strip.size()) * scale).toSize().expandedTo(QSize(1, 1)));
            int darkest = 255;
            for (int y = onPage.top(); y <= onPage.bottom(); ++y)
                for (int x = onPage.left(); x <= onPage.right(); ++x) darkest = std::min(darkest, qGray(page.pixel(x, y)));
            QVERIFY2(darkest > 180, qPrintable(QStringLiteral("%1 printed dark (%2)").arg(name).arg(darkest)));
        }

        QCOMPARE(snapshot(), before);
    }

    // The printing module's answer to each trouble is checked with the module itself
    // (print.print_form); here, that the window shows it once, in a message box of its own.
    void saysWhyNothingWasPrinted() {
        estimateForAlabama({"12", "0", "3.5", "0", "7"});
        const QStringList before = snapshot();
        const QString error = server_.removeQueue();
        QVERIFY2(error.isEmpty(), qPrintable(error));

        MessageCloser closer;
        click("cbPrint");
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts.size(), 1, 10000);
        QCOMPARE(closer.captions.value(0), QStringLiteral("Tallyforge"));
        QCOMPARE(closer.texts.value(0), tf::notPrinted(QLatin1String(tf::kNoDefaultPrinter)));
        QTest::qWait(50);
        QCOMPARE(closer.texts.size(), 1);
        QCOMPARE(snapshot(), before);
    }
};

QTEST_MAIN(PrintUserFormTest)
#include "test_print.moc"
