// The yardstick for start-up: the smallest Qt Widgets window of the worksheet's size.
// Built a second time with TF_BENCH_ONE_LABEL, it shows one line of text, so that it
// also starts the fonts as every window with text must.
#include <QApplication>
#include <QWidget>
#ifdef TF_BENCH_ONE_LABEL
#include <QLabel>
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(793, 633);
#ifdef TF_BENCH_ONE_LABEL
    auto* label = new QLabel(QStringLiteral("Cost Estimate Worksheet"), &window);
    label->move(16, 16);
#endif
    window.show();
    return app.exec();
}
