#include "print/print_page.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace tf {

PaperColours::PaperColours(QWidget& form, const QPalette& light) : form_(form), own_(form.palette()) {
    QPalette paper = own_.resolve(light);
    // Every role counts as set, so the controls take it instead of the desktop's.
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            paper.setBrush(g, r, paper.brush(g, r));
        }
    form.setPalette(paper);
}

PaperColours::~PaperColours() { form_.setPalette(own_); }

QTransform fitCentred(const QSizeF& image, const QRectF& area) {
    if (image.isEmpty() || area.isEmpty()) return {};
    const qreal scale = std::min(area.width() / image.width(), area.height() / image.height());
    QTransform fit;
    fit.translate(area.x() + (area.width() - image.width() * scale) / 2,
                  area.y() + (area.height() - image.height() * scale) / 2);
    fit.scale(scale, scale);
    return fit;
}

void paintOnPaper(QPainter& painter, QWidget& form, const QPalette& light) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const PaperColours paper(form, light);
    form.render(&painter, QPoint(), QRegion(form.rect()), QWidget::DrawWindowBackground | QWidget::DrawChildren);
}

}  // namespace tf
