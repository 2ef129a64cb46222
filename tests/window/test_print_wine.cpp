// Print Form pressed on the worksheet under Wine, whose printers are those of the print
// server that print_wine.py starts and reads back. An estimate for Alabama is typed with
// keys and the button pressed, once under a light and once under a dark desktop scheme.
// The message the user reads must be the one print_wine.py expects (TF_EXPECTED_MESSAGE;
// none when the form is printed), and the worksheet must show what it showed before.
// TF_DEFAULT_PRINTER names Windows' default printer as the registry keeps it, whether or
// not such a printer exists.
#include <windows.h>

#include "worksheet_driver.h"

using tf::test::kHours;
using tf::test::MessageCloser;
using tf::test::Worksheet;

class PrintUnderWineTest : public QObject {
    Q_OBJECT

    Worksheet sheet_;
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
        auto* state = sheet_.get<QComboBox>("cbState");
        QTest::keyClick(state, Qt::Key_Down);
        QCOMPARE(state->currentText(), QStringLiteral("Alabama"));
        const QStringList hours{"10", "20", "30", "40", "50"};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(QApplication::focusWidget(), sheet_.get(kHours[row]));
            sheet_.typeHours(row, hours[row]);
        }
        QCOMPARE(sheet_.text("tbTotal"), QStringLiteral("$6,210.60"));
        const QStringList before = sheet_.snapshot();

        MessageCloser closer;
        sheet_.click("cbPrint");
        QTest::qWait(50);
        const QString expected = qEnvironmentVariable("TF_EXPECTED_MESSAGE");
        if (expected.isEmpty()) {
            QVERIFY2(closer.texts.isEmpty(), qPrintable(closer.texts.join(QLatin1Char('\n'))));
        } else {
            QCOMPARE(closer.texts.size(), 1);
            QVERIFY2(closer.texts.first().startsWith(expected), qPrintable(closer.texts.first()));
        }
        QCOMPARE(sheet_.snapshot(), before);
    }
};

QTEST_MAIN(PrintUnderWineTest)
#include "test_print_wine.moc"
