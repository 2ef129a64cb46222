#pragma once
// A private print server for one test program, run by cups-harness.sh: its own cupsd on a
// Unix socket in a temporary folder with a cups-pdf queue "PDF" as the default printer.
// Everything the program prints through libcups goes to it; the PDF files it writes are
// read back with poppler's tools.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

#ifndef TF_CUPS_HARNESS
#error "TF_CUPS_HARNESS must name cups-harness.sh"
#endif

namespace tf::test {

class PrintServer {
public:
    PrintServer() = default;
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;
    ~PrintServer() { stop(); }

    // Starts the server and points this process's libcups (and Qt's) at it, away from the
    // user's and the system's own printer settings. Returns an empty string or what failed.
    QString start() {
        if (!dir_.isValid()) return QStringLiteral("no temporary folder");
        const QString client = dir_.filePath(QStringLiteral("client"));
        QDir().mkpath(client);
        // No lpoptions, client.conf or environment choice of printer but the server's.
        qputenv("CUPS_SERVERROOT", QFile::encodeName(client));
        qputenv("HOME", QFile::encodeName(client));
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        // lpadmin, cupsenable and the like.
        const QByteArray path = qgetenv("PATH");
        if (!path.split(':').contains("/usr/sbin")) qputenv("PATH", path + ":/usr/sbin:/sbin");
        QString out;
        const QString error = harness({QStringLiteral("start"), dir_.path(),
                                       QString::number(QCoreApplication::applicationPid())},
                                      &out);
        if (!error.isEmpty()) return error;
        for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("CUPS_SERVER="))) socket_ = line.mid(12);
            if (line.startsWith(QLatin1String("PDF_OUT="))) out_ = line.mid(8);
        }
        if (socket_.isEmpty() || out_.isEmpty()) return QStringLiteral("harness said: ") + out;
        qputenv("CUPS_SERVER", QFile::encodeName(socket_));
        running_ = true;
        return {};
    }

    void stop() {
        if (!running_) return;
        running_ = false;
        harness({QStringLiteral("stop"), dir_.path()});
    }
    QString restart() {
        stop();
        return start();
    }
    bool running() const { return running_; }

    QString removeQueue(const QString& name = QStringLiteral("PDF")) {
        return harness({QStringLiteral("remove-queue"), dir_.path(), name});
    }
    // A cups-pdf queue writing into outputFolder(); "PDF" is there from the start.
    QString addQueue(const QString& name = QStringLiteral("PDF"), bool makeDefault = true) {
        QStringList args = {QStringLiteral("add-queue"), dir_.path(), name};
        if (!makeDefault) args << QStringLiteral("--not-default");
        return harness(args);
    }
    // Runs a CUPS command-line tool against this server.
    QString tool(const QString& program, const QStringList& args, QString* output = nullptr) {
        return run(program, args, output);
    }

    pid_t schedulerPid() const {
        QFile f(dir_.filePath(QStringLiteral("cupsd.pid")));
        if (!f.open(QIODevice::ReadOnly)) return 0;
        return static_cast<pid_t>(f.readAll().trimmed().toLongLong());
    }

    QString socket() const { return socket_; }
    QString outputFolder() const { return out_; }
    QString logFolder() const { return dir_.filePath(QStringLiteral("log")); }
    // Where the server keeps the documents of the jobs it has not printed yet (d*-001).
    QString spoolFolder() const { return dir_.filePath(QStringLiteral("spool")); }

    // PDF files written so far.
    QSet<QString> pdfs() const {
        QSet<QString> files;
        for (const QFileInfo& f : QDir(out_).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
            files.insert(f.absoluteFilePath());
        return files;
    }

    // Jobs the server still has to finish ("" when none).
    QString pendingJobs() {
        QString out;
        run(QStringLiteral("lpstat"), {QStringLiteral("-o")}, &out);
        return out.trimmed();
    }

    // Waits until the server has finished its jobs and a PDF file not in `before` is
    // complete; returns its path, or "" after `timeoutMs`.
    QString waitForNewPdf(const QSet<QString>& before, int timeoutMs = 60000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            const QSet<QString> now = pdfs() - before;
            if (!now.isEmpty() && pendingJobs().isEmpty()) {
                const QString file = *now.begin();
                if (run(QStringLiteral("pdfinfo"), {file}).isEmpty()) return file;
            }
            QThread::msleep(200);
        }
        return {};
    }

    // Reads a program's output; returns an empty string or what failed.
    static QString run(const QString& program, const QStringList& args, QString* output = nullptr,
                       int timeoutMs = 30000) {
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start(program, args);
        if (!p.waitForStarted(5000)) return program + QStringLiteral(" did not start");
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished(1000);
            return program + QStringLiteral(" did not finish");
        }
        if (output) *output = QString::fromLocal8Bit(p.readAllStandardOutput());
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(" failed: ") +
                   QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return {};
    }

private:
    QString harness(QStringList args, QString* output = nullptr) {
        args.prepend(QStringLiteral(TF_CUPS_HARNESS));
        return run(QStringLiteral("bash"), args, output);
    }

    QTemporaryDir dir_{QDir::temp().filePath(QStringLiteral("tf-print-XXXXXX"))};
    QString socket_;
    QString out_;
    bool running_ = false;
};

// The text poppler reads from a PDF file.
inline QString pdfText(const QString& file) {
    QString text;
    PrintServer::run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")}, &text);
    return text;
}

// "Pages:" and "Page size:" of pdfinfo.
struct PdfInfo {
    int pages = 0;
    double widthPt = 0;
    double heightPt = 0;
};
inline PdfInfo pdfInfo(const QString& file) {
    QString out;
    PdfInfo info;
    if (!PrintServer::run(QStringLiteral("pdfinfo"), {file}, &out).isEmpty()) return info;
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:"))) info.pages = line.mid(6).trimmed().toInt();
        if (line.startsWith(QLatin1String("Page size:"))) {
            const QStringList parts = line.mid(10).simplified().split(QLatin1Char(' '));
            if (parts.size() >= 3) {
                info.widthPt = parts[0].toDouble();
                info.heightPt = parts[2].toDouble();
            }
        }
    }
    return info;
}

// The first page at 72 dpi: one pixel per point.
inline QImage pdfPage(const QString& file, const QString& folder) {
    const QString base = QDir(folder).filePath(QStringLiteral("page-%1").arg(QDateTime::currentMSecsSinceEpoch()));
    if (!PrintServer::run(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                           QStringLiteral("-singlefile"), file, base})
             .isEmpty())
        return {};
    QImage page(base + QStringLiteral(".png"));
    QFile::remove(base + QStringLiteral(".png"));
    return page.convertToFormat(QImage::Format_RGB32);
}

// Whether `c` is `want` within `tolerance` per channel (printing shifts colours a little).
inline bool near(QRgb c, QColor want, int tolerance = 10) {
    return std::abs(qRed(c) - want.red()) <= tolerance && std::abs(qGreen(c) - want.green()) <= tolerance &&
           std::abs(qBlue(c) - want.blue()) <= tolerance;
}

// Where the pixels of colour `want` lie on the page, and how many there are.
struct ColourArea {
    QRect box;
    qint64 count = 0;
};
inline ColourArea colourArea(const QImage& page, QColor want) {
    ColourArea area;
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (!near(line[x], want)) continue;
            ++area.count;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right >= 0) area.box = QRect(QPoint(left, top), QPoint(right, bottom));
    return area;
}

}  // namespace tf::test
