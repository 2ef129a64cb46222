#include "print/print_form.h"

#include <windows.h>
#include <winspool.h>

#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "print/print_message.h"
#include "print/print_page.h"
#include "app_info.h"

// The form goes to Windows' default printer through Qt's native Windows print engine: GDI
// and the printer's own driver draw the page at the printer's resolution, and the texts
// reach the printer as text. The spooler API finds the default printer, opens it first (so
// a printer that cannot be reached is named), and reads the state of the job once the
// document is finished.
//
// QWidget::render() onto a printer's painter always goes through a bitmap of the page; the
// form is therefore recorded as a picture (the widgets paint themselves into it as shapes
// and text) and the picture is played onto the printer, scaled to the printable area.
// GDI has no translucency: where the style draws something translucent (the rounded
// faces of themed buttons), Qt's engine sends a bitmap of that part of the page instead,
// texts on it included, at 300 dpi or the printer's resolution if higher, in tiles of at
// most 2048 pixels a side.

namespace tf {

namespace {

// The system's words for a Windows error, without the closing full stop.
QString systemReason(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    QString reason = withoutFullStop(text ? QString::fromWCharArray(text).simplified() : QString());
    LocalFree(text);
    if (reason.isEmpty()) reason = QStringLiteral("error %1").arg(error);
    return reason;
}

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// The name of the user's default printer; empty when none is set up.
QString defaultPrinterName() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) return {};
    std::vector<wchar_t> name(size);
    if (!GetDefaultPrinterW(name.data(), &size)) return {};
    return QString::fromWCharArray(name.data());
}

class PrinterHandle {
public:
    explicit PrinterHandle(const QString& name) {
        std::wstring wide = name.toStdWString();
        if (!OpenPrinterW(wide.data(), &handle_, nullptr)) {
            error_ = GetLastError();
            handle_ = nullptr;
        }
    }
    ~PrinterHandle() {
        if (handle_) ClosePrinter(handle_);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;

    HANDLE get() const { return handle_; }
    DWORD error() const { return error_; }

private:
    HANDLE handle_ = nullptr;
    DWORD error_ = 0;
};

// A job's state as the spooler tells it (level 1 of GetJob and EnumJobs).
struct JobState {
    bool known = false;
    DWORD status = 0;
    QString statusText;
};

JobState jobState(HANDLE printer, DWORD job) {
    DWORD needed = 0;
    GetJobW(printer, job, 1, nullptr, 0, &needed);
    if (needed == 0) return {};
    std::vector<BYTE> buffer(needed);
    if (!GetJobW(printer, job, 1, buffer.data(), needed, &needed)) return {};
    const auto* info = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    return {true, info->Status, info->pStatus ? QString::fromWCharArray(info->pStatus).trimmed() : QString()};
}

// The newest job on `printer` whose document has this name: the one this process has just
// started (StartDoc's job number stays inside Qt's engine). 0 when there is none.
DWORD newestJob(HANDLE printer, const QString& document) {
    DWORD needed = 0, count = 0;
    EnumJobsW(printer, 0, 0xFFFFFFFF, 1, nullptr, 0, &needed, &count);
    if (needed == 0) return 0;
    std::vector<BYTE> buffer(needed);
    if (!EnumJobsW(printer, 0, 0xFFFFFFFF, 1, buffer.data(), needed, &needed, &count)) return 0;
    const auto* jobs = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    DWORD newest = 0;
    for (DWORD i = 0; i < count; ++i)
        if (jobs[i].pDocument && QString::fromWCharArray(jobs[i].pDocument) == document)
            newest = std::max(newest, jobs[i].JobId);
    return newest;
}

// Why a job in this state will not print; empty when nothing is wrong with it.
QString jobTrouble(const JobState& job) {
    constexpr DWORD kTrouble = JOB_STATUS_ERROR | JOB_STATUS_OFFLINE | JOB_STATUS_PAPEROUT |
                               JOB_STATUS_USER_INTERVENTION | JOB_STATUS_BLOCKED_DEVQ;
    if (!job.known || !(job.status & kTrouble)) return {};
    if (!job.statusText.isEmpty()) return job.statusText;
    if (job.status & JOB_STATUS_OFFLINE) return QStringLiteral("the printer is offline");
    if (job.status & JOB_STATUS_PAPEROUT) return QStringLiteral("the printer is out of paper");
    if (job.status & JOB_STATUS_USER_INTERVENTION) return QStringLiteral("the printer needs attention");
    if (job.status & JOB_STATUS_BLOCKED_DEVQ) return QStringLiteral("the printer's driver cannot print it");
    return QStringLiteral("the printer reported an error");
}

// Qt's Windows print engine starts the document in QPainter::begin() and finishes it in
// QPainter::end(), and tells a failing StartDoc, StartPage, EndPage or EndDoc only in a
// warning ("QWin32PrintEngine::end: EndDoc failed (<the system's reason>)"). While an
// object of this class lives, those warnings are kept (and still passed on).
class EngineFailures {
public:
    EngineFailures() : previous_(qInstallMessageHandler(&EngineFailures::handle)) { current_ = this; }
    ~EngineFailures() {
        qInstallMessageHandler(previous_);
        current_ = nullptr;
    }
    EngineFailures(const EngineFailures&) = delete;
    EngineFailures& operator=(const EngineFailures&) = delete;

    // Whether a warning of the engine says that something in `step` failed; `reason` gets
    // the system's words, which close the warning in brackets.
    bool failed(const char* step, QString& reason) const {
        for (const QString& message : messages_) {
            const qsizetype at = message.indexOf(QLatin1String(step));
            const qsizetype failure = message.indexOf(QLatin1String(" failed"), at);
            if (at < 0 || failure < 0) continue;
            const qsizetype open = message.lastIndexOf(QLatin1String(" ("));
            reason = withoutFullStop(open > failure && message.endsWith(QLatin1Char(')'))
                                         ? message.mid(open + 2, message.size() - open - 3)
                                         : QStringLiteral("no reason given"));
            return true;
        }
        return false;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (current_ && message.startsWith(QLatin1String("QWin32PrintEngine"))) current_->messages_ << message;
        if (current_ && current_->previous_) current_->previous_(type, context, message);
    }

    static inline EngineFailures* current_ = nullptr;
    const QtMessageHandler previous_;
    QStringList messages_;
};

}  // namespace

QString printOnDefaultPrinter(QWidget& form) {
    const QString name = defaultPrinterName();
    if (name.isEmpty()) return notPrinted(QLatin1String(kNoDefaultPrinter));

    const PrinterHandle spooler(name);
    if (!spooler.get()) {
        if (spooler.error() == RPC_S_SERVER_UNAVAILABLE)
            return notPrinted(QStringLiteral("the print spooler is not running"));
        return notPrinted(QStringLiteral("the printer %1 cannot be opened (%2)").arg(quoted(name), systemReason(spooler.error())));
    }

    const EngineFailures failures;
    QString reason;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    if (failures.failed("initialize", reason) || !printer.isValid()) {
        if (reason.isEmpty()) reason = QStringLiteral("it is not among the printers Windows lists");
        return notPrinted(QStringLiteral("the printer %1 cannot be opened (%2)").arg(quoted(name), reason));
    }
    // The printer's own default paper, with its printable margins.
    const QPageSize paper = QPrinterInfo(printer).defaultPageSize();
    if (paper.isValid()) printer.setPageSize(paper);
    QString document = form.windowTitle();
    if (document.isEmpty()) document = QStringLiteral(TF_APP_NAME);
    printer.setDocName(document);
    printer.setCreator(QStringLiteral(TF_APP_NAME));

    const QRectF area(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    if (area.isEmpty() || form.size().isEmpty())
        return notPrinted(QStringLiteral("the page for the printer could not be made"));

    // The light scheme of paper. The Windows styles have none of their own: their standard
    // palette is the desktop's, dark under a dark or high-contrast scheme.
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QPicture picture;
    {
        QPainter recorder(&picture);
        paintOnPaper(recorder, form, fusion->standardPalette());
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        if (!failures.failed("StartDoc", reason) && !failures.failed("StartPage", reason))
            reason = QStringLiteral("no reason given");
        return notPrinted(QStringLiteral("the print spooler refused to start the document on %1 (%2)")
                              .arg(quoted(name), reason));
    }
    const DWORD job = newestJob(spooler.get(), document);
    // A picture plays itself at its own size in inches: on the printer's resolution it
    // would come out larger by the ratio of the two resolutions, which is taken out first.
    const QTransform unscaled = QTransform::fromScale(qreal(picture.logicalDpiX()) / printer.logicalDpiX(),
                                                      qreal(picture.logicalDpiY()) / printer.logicalDpiY());
    painter.setTransform(unscaled * fitCentred(form.size(), area));
    painter.drawPicture(0, 0, picture);
    painter.end();
    if (failures.failed("EndPage", reason) || failures.failed("EndDoc", reason))
        return notPrinted(QStringLiteral("the print spooler refused to finish the document on %1 (%2)")
                              .arg(quoted(name), reason));

    // A job that has left the queue has been printed or handed on to the printer.
    if (job) {
        const QString trouble = jobTrouble(jobState(spooler.get(), job));
        if (!trouble.isEmpty()) {
            // Left in the queue it could still come out later, after the user was told it did not.
            SetJobW(spooler.get(), job, 0, nullptr, JOB_CONTROL_DELETE);
            return notPrinted(QStringLiteral("the print job on %1 went into an error state (%2)").arg(quoted(name), trouble));
        }
    }
    return {};
}

}  // namespace tf
