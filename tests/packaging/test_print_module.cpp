// Print Form in an installed program loads the module from the place the installation put
// it: installs the build under several prefixes into a scratch DESTDIR and loads the module
// from the place the program computes from its own directory.
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "print/print_loader.h"

class PrintModuleTest : public QObject {
    Q_OBJECT
private slots:
    void installedWhereTheProgramLooks_data() {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("Debian package") << "/usr";
        QTest::newRow("default prefix") << "/usr/local";
        QTest::newRow("own tree") << "/opt/tallyforge";
    }
    void installedWhereTheProgramLooks() {
        QFETCH(QString, prefix);
        QTemporaryDir destdir;
        QVERIFY(destdir.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DESTDIR", destdir.path());
        install.setProcessEnvironment(environment);
        install.start(QStringLiteral(TF_CMAKE), {"--install", TF_BUILD_DIR, "--prefix", prefix});
        QVERIFY(install.waitForFinished(60000));
        QCOMPARE(install.exitCode(), 0);

        const QString programDir = destdir.path() + prefix + "/bin";
        QVERIFY(QFile::exists(programDir + "/tallyforge"));
        QLibrary module(tf::installedPrintModule(programDir));
        QVERIFY2(module.load(), qPrintable(module.errorString()));
        QVERIFY(module.resolve("tallyforge_print_form"));
        QVERIFY(module.fileName().startsWith(destdir.path() + prefix + "/lib"));
        module.unload();
    }
};

QTEST_GUILESS_MAIN(PrintModuleTest)
#include "test_print_module.moc"
