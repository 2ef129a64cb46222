#pragma once
// What both printing modules draw: the whole client area of the form in the colours of
// paper, scaled to fit the printable area of a page with its proportions kept and centred.
#include <QPalette>
#include <QRectF>
#include <QString>
#include <QTransform>

class QPainter;
class QWidget;

namespace tf {

// While it lives, `form` and its controls take the colours of a light scheme, `light`,
// whatever the desktop's: a printout has dark text on light fields and buttons, never the
// dark fields of a dark scheme. Colours the form or a control sets itself (the worksheet's
// cyan, its white figure fields) stay. Made and undone between two events, so the screen
// never shows it.
class PaperColours {
public:
    PaperColours(QWidget& form, const QPalette& light);
    ~PaperColours();
    PaperColours(const PaperColours&) = delete;
    PaperColours& operator=(const PaperColours&) = delete;

private:
    QWidget& form_;
    const QPalette own_;  // holds only the roles the form sets itself
};

// Maps an image of `image` size onto `area` as large as fits, proportions kept and centred.
// The identity when either is empty.
QTransform fitCentred(const QSizeF& image, const QRectF& area);

// Paints the whole client area of `form` in the paper colours of the light scheme `light`,
// with `painter` at its current transformation (form pixels in, whatever the painter's
// device takes out).
void paintOnPaper(QPainter& painter, QWidget& form, const QPalette& light);

}  // namespace tf
