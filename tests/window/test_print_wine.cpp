// Print Form on the worksheet under Wine, run by print_wine.py, which sets up the printers
// and reads back what was printed. An estimate for Alabama is typed with keys and the button
// pressed, under a light and a dark desktop scheme; the user reads the message expected in
// TF_EXPECTED_MESSAGE (none when printed) and the worksheet keeps what it shows.
// TF_DEFAULT_PRINTER names Windows' default printer, whether or not it exists.
#include <windows.h>

#include "worksheet_driver.h"

class PrintUnderWineTest : public QObject {
    Q_OBJECT

    tf::test::Worksheet sheet_;
    const QPalette desktop_ = QApplication::palette();

private slots:
    void initTestCase() {
        if (!qEnvironmentVariableIsSet("TF_DEFAULT_PRINTER")) return;
        const std::wstring device = (qEnvironmentVariable("TF_DEFAULT_PRINTER") + ",winspool,").toStdWString();
        QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
                                 L"Device", REG_SZ, device.c_str(), DWORD((device.size() + 1) * sizeof(wchar_t))),
                 LONG(ERROR_SUCCESS));
    }
    void cleanup() {
        sheet_.close();
        QApplication::setPalette(desktop_);
    }

    void pressPrintForm_data() {
        QTest::addColumn<bool>("darkDesktop");
        QTest::newRow("light desktop") << false;
        QTest::newRow("dark desktop") << true;
    }
    void pressPrintForm() {
        QFETCH(bool, darkDesktop);
        if (darkDesktop) QApplication::setPalette(tf::test::darkPalette());
        QVERIFY(sheet_.open());
        QTest::keyClick(sheet_.get("cbState"), Qt::Key_Down);
        for (int row = 0; row < 5; ++row) sheet_.typeHours(row, QString::number(10 * (row + 1)));
        QCOMPARE(sheet_.text("tbTotal"), QStringLiteral("$6,210.60"));
        const QStringList before = sheet_.snapshot();

        tf::test::MessageCloser closer;
        sheet_.click("cbPrint");
        QTest::qWait(50);
        const QString expected = qEnvironmentVariable("TF_EXPECTED_MESSAGE");
        const QString shown = closer.texts.join(QLatin1Char('\n'));
        QVERIFY2(expected.isEmpty() ? shown.isEmpty() : closer.texts.size() == 1 && shown.startsWith(expected),
                 qPrintable(shown));
        QCOMPARE(sheet_.snapshot(), before);
    }
};

QTEST_MAIN(PrintUnderWineTest)
#include "test_print_wine.moc"
