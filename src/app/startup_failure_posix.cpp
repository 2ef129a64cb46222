// A program started from a desktop's menu has its standard error in the session's log.
#include <cstdio>

#include "app/startup_failure.h"

namespace tf {

void reportStartupFailure(const QString& sentences) {
    std::fputs(sentences.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

}  // namespace tf
