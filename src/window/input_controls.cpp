#include "window/input_controls.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOptionFrame>
#include <QWheelEvent>
#include <cmath>

namespace tf {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

StateList::StateList(const QString& prompt, QWidget* parent) : QComboBox(parent), prompt_(prompt) {
    // The text field takes typing, but an editable list inserts what is typed, completes
    // it to an entry, and chooses the entry whose text matches on Enter or when the field
    // is left. None of that may happen here.
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    // The text field has the focus and gets the keys, the wheel and the focus-out first.
    lineEdit()->installEventFilter(this);
}

void StateList::showChoice() {
    const int index = currentIndex();
    const QString shown = index >= 0 ? itemText(index) : prompt_;
    if (currentText() != shown) setEditText(shown);
}

bool StateList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        switch (event->type()) {
            case QEvent::KeyPress:
                if (isEnter(static_cast<QKeyEvent*>(event))) return true;
                break;
            case QEvent::Wheel:
                return true;
            case QEvent::FocusOut:
                leave(static_cast<QFocusEvent*>(event)->reason());
                break;
            default:
                break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void StateList::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event)) return;
    QComboBox::keyPressEvent(event);
}

// Turning the wheel over the closed list would change the jurisdiction, and every figure,
// without the user choosing one. The opened list is another widget and still scrolls.
void StateList::wheelEvent(QWheelEvent* event) { event->accept(); }

void StateList::focusOutEvent(QFocusEvent* event) {
    leave(event->reason());
    QComboBox::focusOutEvent(event);
}

void StateList::leave(Qt::FocusReason reason) {
    // The user has not left: a message box or the opened list took the focus for a while.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    showChoice();
}

void ComponentList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    drawPanel(painter, frame);
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(rect().adjusted(3, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, currentText());
}

// The fifteen lists show the same sunken panel. The style draws it once for each look
// (style, size, state, colours, scale) and the other lists copy it: some Windows themes
// take half a millisecond a panel, most of the time to the first frame of these lists.
// A copy is exact only at a whole scale factor, and with plain colours.
void ComponentList::drawPanel(QPainter& painter, const QStyleOptionFrame& frame) {
    const qreal scale = devicePixelRatioF();
    QString key = QStringLiteral("tf-component-panel %1 %2x%3 %4 %5 %6 %7 %8")
                      .arg(quintptr(style()))
                      .arg(frame.rect.width())
                      .arg(frame.rect.height())
                      .arg(int(frame.state))
                      .arg(frame.lineWidth)
                      .arg(int(frame.direction))
                      .arg(scale)
                      .arg(frame.palette.resolveMask());
    bool copyable = scale == std::floor(scale);
    for (int role = 0; role < QPalette::NColorRoles && copyable; ++role) {
        const QBrush& brush = frame.palette.brush(QPalette::ColorRole(role));
        copyable = brush.style() == Qt::SolidPattern || brush.style() == Qt::NoBrush;
        key += QLatin1Char(' ') + QString::number(brush.color().rgba(), 16);
    }
    if (!copyable) {
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);
        return;
    }
    QPixmap panel;
    if (!QPixmapCache::find(key, &panel)) {
        panel = QPixmap(frame.rect.size() * scale);
        panel.setDevicePixelRatio(scale);
        panel.fill(Qt::transparent);
        QPainter onPanel(&panel);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &onPanel, this);
        onPanel.end();
        QPixmapCache::insert(key, panel);
    }
    painter.drawPixmap(frame.rect.topLeft(), panel);
}

HoursBox::HoursBox(int row, const QString& text, QWidget* parent) : QLineEdit(text, parent), row_(row) {}

void HoursBox::focusOutEvent(QFocusEvent* event) {
    // Only the user's own moves count. The focus also goes when a message box opens, when
    // the window loses its activation, and when the worksheet moves it itself; reacting to
    // those would start a series of messages, each handler taking the focus back.
    const Qt::FocusReason reason = event->reason();
    const QWidget* now = QApplication::focusWidget();
    const bool byTheUser = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                           reason == Qt::MouseFocusReason;
    // The window hears of it before the box finishes its own leaving, so the handler sees
    // the box as the user left it.
    if (byTheUser && now && now->window() == window()) emit left(reason);
    QLineEdit::focusOutEvent(event);
}

}  // namespace tf
