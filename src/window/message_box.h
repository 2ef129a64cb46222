#pragma once
#include <QString>

#include "app_info.h"

class QWidget;

namespace tf {

inline constexpr const char* kApplicationTitle = TF_APP_NAME;

// A modal message box: the text, one OK button (Enter and Escape close it), no icon,
// caption "Tallyforge". Returns when the user has closed it.
void showMessageBox(QWidget* parent, const QString& text);

}  // namespace tf
