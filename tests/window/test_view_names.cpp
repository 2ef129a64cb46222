// A control name the window does not have is a misspelling in the program: in a build
// with assertions the handlers' view stops the program there and names it. Each case runs
// in a child process of this test, which reports how the child ended.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include "window/window_view.h"

namespace {

const char* const kChildVariable = "TF_WINDOW_VIEW_CHILD";

// In the child: a window with two controls, and one operation of the view on a name.
int useTheView(const QString& operation, const QString& name) {
    QWidget window;
    auto* hours = new QLineEdit(QStringLiteral("0"), &window);
    auto* list = new QComboBox(&window);
    tf::WindowView view(window);
    view.reset({{QStringLiteral("tbHoursIC"), hours}, {QStringLiteral("cbState"), list}});
    const std::string control = name.toStdString();
    if (operation == QLatin1String("setText")) view.setText(control, "12");
    else if (operation == QLatin1String("text")) (void)view.text(control);
    else if (operation == QLatin1String("appendEntry")) view.appendEntry(control, "Alabama");
    else return 3;
    return 0;
}

}  // namespace

class WindowViewTest : public QObject {
    Q_OBJECT

private slots:
    void unknownNamesStopTheProgram_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("stops");
        QTest::newRow("known box") << "setText" << "tbHoursIC" << false;
        QTest::newRow("known list") << "appendEntry" << "cbState" << false;
        QTest::newRow("misspelt box written") << "setText" << "tbHoursICC" << true;
        QTest::newRow("misspelt box read") << "text" << "tbHourIC" << true;
        QTest::newRow("misspelt list") << "appendEntry" << "cbStates" << true;
    }
    void unknownNamesStopTheProgram() {
        QFETCH(QString, operation);
        QFETCH(QString, name);
        QFETCH(bool, stops);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildVariable), operation + QLatin1Char(':') + name);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        if (stops) {
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            QVERIFY2(errors.contains(QStringLiteral("no control named ") + name), qPrintable(errors));
        } else {
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
        }
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString child = qEnvironmentVariable(kChildVariable);
    if (!child.isEmpty())
        return useTheView(child.section(QLatin1Char(':'), 0, 0), child.section(QLatin1Char(':'), 1));
    WindowViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_view_names.moc"
