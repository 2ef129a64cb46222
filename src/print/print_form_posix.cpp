#include "print/print_form.h"
#include "print/print_message.h"
#include "print/print_page.h"
#include "app_info.h"

#include <cups/cups.h>

#include <QByteArray>
#include <QDir>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStyle>
#include <QTemporaryFile>
#include <QWidget>
#include <algorithm>
#include <memory>

// The form goes to the print service as a one-page PDF that holds the window's image,
// drawn as vectors and text at the printer's resolution. Qt's own printing path is not
// used for the submission: it says nothing when there is no printer and ignores whether
// the service accepted the job. libcups finds the default printer and submits the file,
// over a connection of our own with time limits, so a missing or stuck service gives an
// answer within seconds.

namespace tf {

namespace {

constexpr int kConnectTimeoutMs = 3000;  // to reach the print service
constexpr double kAnswerTimeoutS = 5.0;  // for each answer from it

QString serviceNotRunning() { return notPrinted(QLatin1String(kServiceNotRunning)); }
QString serviceNotAnswering() { return notPrinted(QLatin1String(kServiceNotAnswering)); }

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
struct DestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;
using Destination = std::unique_ptr<cups_dest_t, DestFree>;

// Called by libcups when the service has not answered within kAnswerTimeoutS:
// notes it and gives up the request.
int giveUp(http_t*, void* timedOut) {
    *static_cast<bool*>(timedOut) = true;
    return 0;
}

// The reason libcups gave for the last failed request, without its closing full stop.
QString lastReason() {
    QString reason = withoutFullStop(QString::fromUtf8(cupsLastErrorString()));
    if (reason.isEmpty()) reason = QString::fromUtf8(ippErrorString(cupsLastError()));
    return reason;
}

// The sentence for a request that failed because of the connection, not the printer.
bool connectionFailed(bool timedOut, QString& message) {
    if (timedOut) {
        message = serviceNotAnswering();
        return true;
    }
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL) {
        message = serviceNotRunning();
        return true;
    }
    return false;
}

// The page of the printer: its default paper, orientation and printable area as Qt
// reads them from the print service; the locale's usual paper when Qt does not know it.
QPageLayout printerPageLayout(const QString& printerName, int& resolution) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (!info.isNull()) {
        QPrinter printer(info, QPrinter::HighResolution);
        // A new QPrinter keeps the locale's paper whenever the printer supports it: ask
        // for the printer's own default, which also brings its printable margins.
        const QPageSize paper = info.defaultPageSize();
        if (paper.isValid()) printer.setPageSize(paper);
        const QPageLayout layout = printer.pageLayout();
        if (layout.isValid()) {
            resolution = std::max(printer.resolution(), 300);
            return layout;
        }
    }
    resolution = 1200;
    const bool usLetter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(usLetter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(18, 18, 18, 18), QPageLayout::Point);
}

// Draws the whole client area of `form` in its paper colours, scaled to fit the printable
// area with its proportions kept and centred, into a one-page PDF at `path`.
//
// The PDF is written with QPdfWriter rather than a QPrinter: QWidget::render() onto a
// printer's painter always goes through a bitmap of the page (hundreds of megabytes at
// 1200 dpi, and text that can no longer be selected or read), while on a PDF writer the
// widgets paint themselves with the scaled painter, so their text stays text.
// The style's translucent touches (the shade inside a box's frame, the glow round the
// focused control) stay translucent, as on screen. PDF/A would have none, but it draws
// them opaque: a black line along the top of every box.
bool renderToPdf(QWidget& form, const QPageLayout& layout, int resolution, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(resolution);
    if (!writer.setPageLayout(layout)) return false;
    writer.setCreator(QStringLiteral(TF_APP_NAME));
    writer.setTitle(form.windowTitle());

    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const QRectF area = QRectF(QPointF(0, 0), layout.paintRectPixels(resolution).size());
    const QSizeF image = form.size();
    if (image.isEmpty() || area.isEmpty()) {
        painter.end();
        return false;
    }
    painter.setTransform(fitCentred(image, area));
    paintOnPaper(painter, form, form.style()->standardPalette());
    return painter.end();
}

}  // namespace

QString printOnDefaultPrinter(QWidget& form) {
    // cupsServer() honours CUPS_SERVER and the client settings; a path is a local socket.
    Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                 kConnectTimeoutMs, nullptr));
    if (!http) return serviceNotRunning();
    bool timedOut = false;
    httpSetTimeout(http.get(), kAnswerTimeoutS, giveUp, &timedOut);

    // The user's default (lpoptions, LPDEST, PRINTER) or else the service's.
    Destination dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
    if (!dest) {
        QString message;
        if (connectionFailed(timedOut, message)) return message;
        return notPrinted(QLatin1String(kNoDefaultPrinter));
    }
    const QString printerName = QString::fromUtf8(dest->name);

    int resolution = 0;
    const QPageLayout layout = printerPageLayout(printerName, resolution);

    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("tallyforge-print-XXXXXX.pdf")));
    if (!file.open()) return notPrinted(QStringLiteral("no temporary file could be made for the printer"));
    file.close();
    if (!renderToPdf(form, layout, resolution, file.fileName()))
        return notPrinted(QStringLiteral("the page for the printer could not be made"));

    QString title = form.windowTitle();
    if (title.isEmpty()) title = QStringLiteral(TF_APP_NAME);
    const QByteArray path = QFile::encodeName(file.fileName());
    const QByteArray jobTitle = title.toUtf8();
    cups_option_t* options = nullptr;
    const int numOptions = cupsAddOption("document-format", CUPS_FORMAT_PDF, 0, &options);
    const int job = cupsPrintFile2(http.get(), dest->name, path.constData(), jobTitle.constData(),
                                   numOptions, options);
    cupsFreeOptions(numOptions, options);
    if (job > 0) return QString();

    QString message;
    if (connectionFailed(timedOut, message)) return message;
    return notPrinted(QLatin1String(kPrinterRefusedJob).arg(lastReason()));
}

}  // namespace tf
