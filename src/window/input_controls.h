#pragma once
// The worksheet's own kinds of control: the two that take the user's input, each with its
// own input rules, and the component lists that only show a figure.
#include <QComboBox>
#include <QLineEdit>

class QPainter;
class QStyleOptionFrame;

namespace tf {

// The jurisdiction list. Only a choice from the opened list, or the Up and Down keys on
// the closed one, choose a jurisdiction: typing, Enter and the mouse wheel choose
// nothing, and leaving the list shows the chosen entry again (or the prompt), so the
// worksheet never names a jurisdiction whose figures it does not show.
class StateList final : public QComboBox {
    Q_OBJECT

public:
    StateList(const QString& prompt, QWidget* parent);

    // The chosen entry, or the prompt when none is chosen.
    void showChoice();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void leave(Qt::FocusReason reason);

    QString prompt_;
};

// A component list: never opened by the user, so it spends its whole width on the figure
// it shows instead of on a drop-down button.
class ComponentList final : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawPanel(QPainter& painter, const QStyleOptionFrame& frame);
};

// An hours box of one row. It tells the window when the user leaves it for another
// control of the worksheet, so the row's handler runs then and at no other time.
class HoursBox final : public QLineEdit {
    Q_OBJECT

public:
    HoursBox(int row, const QString& text, QWidget* parent);
    int row() const { return row_; }

signals:
    // Tab, Shift+Tab or a click elsewhere in the window moved the focus away.
    void left(Qt::FocusReason reason);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    int row_;
};

}  // namespace tf
