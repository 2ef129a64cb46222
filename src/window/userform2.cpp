// The window: it builds its controls from the table, wires them to the commands and the
// handlers, and holds the few rules that need the whole window.
#include "window/userform2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "estimate/estimate.h"
#include "print/print_loader.h"
#include "refdata/control_names.h"
#include "window/accessibility.h"
#include "window/control_factory.h"
#include "window/input_controls.h"
#include "window/window_view.h"

namespace tf {

UserForm2::UserForm2() : UserForm2(std::nullopt, nullptr) {}

UserForm2::UserForm2(const RegionalSettings& settings, QWidget* parent)
    : UserForm2(std::optional(settings), parent) {}

UserForm2::UserForm2(std::optional<RegionalSettings> settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      settings_(std::move(settings)),
      view_(std::make_unique<WindowView>(*this)) {
    setObjectName(QStringLiteral("UserForm2"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toColor(kWindowBackground));
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(fontFor(kWindowFont));
    installAccessibleListNames();

    // The sheet keeps the worksheet's size whatever the screen; the window around it shows
    // it whole where the screen has room, and scrolls it where it has not. The scrolling
    // takes no focus of its own: the focus stays in the worksheet's tab order.
    sheet_ = new QWidget;
    sheet_->setObjectName(QStringLiteral("sheet"));
    sheet_->setWindowTitle(windowTitle());  // the printed document's name
    sheet_->setFixedSize(toPixels(kClientWidthTwips), toPixels(kClientHeightTwips));
    sheet_->setPalette(pal);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    scroll_->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(sheet_);
    // The window paints the worksheet's colour itself, beneath a transparent scroll area
    // and sheet (a printout draws the sheet's background all the same). A window covered
    // whole by opaque children is never painted itself, and whatever waits for the
    // window's first paint, as the start-up benchmark does, would wait for ever.
    sheet_->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    fitScreen(false);
    // Wherever the focus goes, by key, by click or by the worksheet itself, it is in view.
    focusFollower_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && sheet_->isAncestorOf(now)) scroll_->ensureWidgetVisible(now, 8, 8);
    });

    buildControls();
    initialise();
}

UserForm2::~UserForm2() {
    // The controls go first, while everything their signals reach still exists.
    closing_ = true;
    disconnect(focusFollower_);
    delete controls_;
}

QWidget* UserForm2::control(const QString& name) const { return view_->control(name); }

const RegionalSettings& UserForm2::settings() {
    if (!settings_) settings_ = worksheetSettings(readUserSettings());
    return *settings_;
}

void UserForm2::buildControls() {
    // The command that each push button carries out.
    static constexpr struct {
        const char* button;
        void (UserForm2::*command)();
    } kCommands[] = {
        {name::cbUpdate, &UserForm2::updateCosts},
        {name::cbPrint, &UserForm2::printForm},
        {name::cbClear, &UserForm2::clearForm},
        {name::cbClose, &UserForm2::closeAndExit},
    };
    ControlPage built = buildControlPage(*sheet_);
    for (const auto& [button, command] : kCommands) {
        auto* pushButton = qobject_cast<QPushButton*>(built.byName.value(QLatin1String(button)));
        Q_ASSERT(pushButton);
        connect(pushButton, &QPushButton::clicked, this, command);
    }
    for (QWidget* w : std::as_const(built.byName)) {
        if (auto* state = qobject_cast<StateList*>(w)) {
            connect(state, &QComboBox::activated, this, &UserForm2::chooseState);
        } else if (auto* box = qobject_cast<HoursBox*>(w)) {
            connect(box, &HoursBox::left, this, [this, box] { hoursBoxLeft(box); });
        }
    }
    view_->reset(std::move(built.byName));
    controls_ = built.page;
}

void UserForm2::initialise() {
    initialiseWorksheet(*view_);
    // A list selects its first entry when it is filled; the worksheet starts with none.
    for (const ControlSpec& def : kControls) {
        if (def.kind != ControlKind::StateList && def.kind != ControlKind::ComponentList) continue;
        auto* list = qobject_cast<QComboBox*>(control(QString::fromUtf8(def.name)));
        list->setCurrentIndex(-1);
        if (auto* state = qobject_cast<StateList*>(list)) state->showChoice();
    }
}

void UserForm2::focusStart() {
    if (QWidget* state = control(QLatin1String(name::cbState))) state->setFocus(Qt::OtherFocusReason);
}

// --- The commands. While one runs, the focus moves it makes run no hours handler.

bool UserForm2::runHoursHandler(const HoursBox& box) {
    const QScopedValueRollback busy(busy_, true);
    return Estimate::showedMessage(Estimate(*view_, settings()).hoursLeft(box.row()));
}

void UserForm2::updateCosts() {
    if (closing_) return;
    const QScopedValueRollback busy(busy_, true);
    Estimate(*view_, settings()).update();
}

void UserForm2::chooseState() {
    if (closing_) return;
    const QScopedValueRollback busy(busy_, true);
    Estimate(*view_, settings()).stateChosen();
}

void UserForm2::printForm() {
    if (closing_) return;
    const QScopedValueRollback busy(busy_, true);
    const QString problem = tf::printForm(*sheet_);
    if (!problem.isEmpty()) view_->showMessage(problem.toStdString());
}

void UserForm2::clearForm() {
    if (closing_) return;
    const QScopedValueRollback busy(busy_, true);
    setUpdatesEnabled(false);
    // The button being clicked is one of the old controls: they go once the click is over.
    QWidget* old = controls_;
    old->hide();
    old->deleteLater();
    buildControls();
    initialise();
    controls_->show();
    setUpdatesEnabled(true);
    focusStart();
}

void UserForm2::closeAndExit() {
    if (closing_) return;
    closing_ = true;
    close();
    QCoreApplication::exit(0);
}

// --- The hours handlers: run when the user leaves a box, by key or by click.

void UserForm2::hoursBoxLeft(HoursBox* box) {
    if (handledByPress_ == box) {
        handledByPress_ = nullptr;  // the click that moved the focus has run it already
        return;
    }
    if (busy_ || closing_) return;
    runHoursHandler(*box);
}

// A click that moves the focus out of an hours box runs that box's handler before the
// clicked control sees the press. When the handler had to show a message, the click is
// used up by it; a push button is still clicked afterwards and carries out its command.
bool UserForm2::preMousePress(const QMouseEvent& mouse) {
    if (busy_ || closing_) return false;
    auto* box = qobject_cast<HoursBox*>(QApplication::focusWidget());
    if (!box) return false;
    QWidget* target = childAt(mouse.position().toPoint());
    while (target && target != this &&
           !(target->isEnabled() && (target->focusPolicy() & Qt::ClickFocus)))
        target = target->parentWidget();
    if (!target || target == this || target == box || box->isAncestorOf(target)) return false;

    handledByPress_ = box;
    if (!runHoursHandler(*box)) {
        // The press goes on and moves the focus; its focus-out must not run the handler again.
        QTimer::singleShot(0, this, [this] { handledByPress_ = nullptr; });
        return false;
    }
    handledByPress_ = nullptr;
    if (auto* button = qobject_cast<QPushButton*>(target); button && mouse.button() == Qt::LeftButton)
        button->click();
    return true;
}

// --- What needs the whole window: it sees every press and key before any control does.

void UserForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!windowFilterInstalled_ && windowHandle()) {
        windowHandle()->installEventFilter(this);
        windowFilterInstalled_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this, [this] { fitScreen(true); });
    }
    fitScreen(true);
}

// A window manager frames the window once it is shown, and moves it when it does: from then
// on its frame counts too.
void UserForm2::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (isVisible()) fitScreen(false);
}

// --- The window on its screen: as large as the sheet, never larger than the work area
// (the screen less its panels and task bar, less the window's own frame).

void UserForm2::fitScreen(bool place) {
    const QSize full = sheet_->size();
    QSize room = full;
    if (QScreen* shownOn = screen()) {
        disconnect(workArea_);
        workArea_ = connect(shownOn, &QScreen::availableGeometryChanged, this, [this] { fitScreen(true); });
        room = shownOn->availableGeometry().size().shrunkBy(windowHandle() ? windowHandle()->frameMargins()
                                                                          : QMargins());
    }
    // A scroll bar in one direction takes room from the other.
    const int bar = scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
    bool across = full.width() > room.width(), down = full.height() > room.height();
    across = across || (down && full.width() + bar > room.width());
    down = down || (across && full.height() + bar > room.height());
    const QSize least(6 * bar, 6 * bar);
    const QSize fitted = QSize(std::min(room.width(), full.width() + (down ? bar : 0)),
                               std::min(room.height(), full.height() + (across ? bar : 0)))
                             .expandedTo(least);
    if (fitted != minimumSize() || fitted != maximumSize()) setFixedSize(fitted);
    if (!place || !isVisible() || !screen() || !(across || down)) return;
    // Placed partly off the work area, the window moves into it (once: the user may move it
    // away again).
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QPoint inside(
        std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width() + 1)),
        std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height() + 1)));
    if (inside != frame.topLeft()) move(inside);
}

void UserForm2::closeEvent(QCloseEvent* event) {
    closing_ = true;
    event->accept();
}

bool UserForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched != windowHandle()) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return preMousePress(*static_cast<QMouseEvent*>(event));
        case QEvent::KeyPress: {
            // No control has an access key: Alt with a letter or digit does nothing at all.
            const auto* key = static_cast<QKeyEvent*>(event);
            const auto mods = key->modifiers();
            return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) &&
                   ((key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) ||
                    (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9));
        }
        default:
            return false;
    }
}

}  // namespace tf
