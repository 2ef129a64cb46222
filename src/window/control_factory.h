#pragma once
// Builds the worksheet's 52 controls from the control table, and nothing else: the window
// wires them to its commands.
#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>

#include "window/control_table.h"

class QWidget;

namespace tf {

struct ControlPage {
    QWidget* page = nullptr;  // parent of every control, covering the window
    QHash<QString, QWidget*> byName;
};

// The controls on a new page of `window`, with their texts, looks, tab order and
// stacking; the lists are still empty.
ControlPage buildControlPage(QWidget& window);

QFont fontFor(const FontSpec& def);
QColor toColor(Rgb c);

}  // namespace tf
