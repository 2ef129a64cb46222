#pragma once
// The one sentence a failed Print Form shows, shared by the loader and the printing of each
// platform.
#include <QString>

namespace tf {

// "The form was not printed because <why>."
inline QString notPrinted(const QString& why) {
    return QStringLiteral("The form was not printed because %1.").arg(why);
}

// Reasons a failed Print Form gives, to stand after "because".
inline constexpr char kNoDefaultPrinter[] = "no default printer is set up";
inline constexpr char kServiceNotRunning[] = "the print service is not running";
inline constexpr char kServiceNotAnswering[] = "the print service is not answering";
inline constexpr char kPrinterRefusedJob[] = "the printer refused the job (%1)";  // %1: its reason

// A reason in a library's or the system's words, trimmed and without its closing full
// stops, to stand inside a sentence of ours.
inline QString withoutFullStop(QString reason) {
    reason = reason.trimmed();
    while (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
    return reason;
}

}  // namespace tf
