// The yardstick for start-up: the smallest Qt Widgets window of the worksheet's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(793, 633);
    window.show();
    return app.exec();
}
