#include "window/userform2.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "estimate/estimate.h"
#include "estimate/worksheet_view.h"
#include "refdata/initialise.h"
#include "window/accessibility.h"
#include "window/control_table.h"
#include "window/message_box.h"
#include "window/print_loader.h"

namespace tf {

namespace {

QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// A component list: never opened by the user, so it spends its whole width on the figure
// it shows instead of on a drop-down button.
class ComponentList final : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
        frame.midLineWidth = 0;
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        painter.drawText(rect().adjusted(3, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, currentText());
    }
};

// Verdana where it is installed, otherwise the family fontconfig puts in its place. Found
// once: asking for a missing family makes every new size and weight search the fallbacks.
const QString& fontFamily() {
    static const QString family = [] {
        const QString verdana = QStringLiteral("Verdana");
        if (QFontDatabase::hasFamily(verdana)) return verdana;
        const QString substitute = QFontInfo(QFont(verdana)).family();
        return substitute.isEmpty() ? verdana : substitute;
    }();
    return family;
}

QFont fontFor(const FontSpec& def) {
    QFont font(fontFamily());
    font.setPointSizeF(def.points);
    font.setBold(def.bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

Qt::Alignment alignmentFor(TextAlign align) {
    switch (align) {
        case TextAlign::Left: return Qt::AlignLeft;
        case TextAlign::Centre: return Qt::AlignHCenter;
        case TextAlign::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

Qt::Alignment verticalAlignmentFor(VerticalAlign align) {
    switch (align) {
        case VerticalAlign::Top: return Qt::AlignTop;
        case VerticalAlign::Centre: return Qt::AlignVCenter;
        case VerticalAlign::Bottom: return Qt::AlignBottom;
    }
    return Qt::AlignVCenter;
}

// Colours a control in every state, disabled included: the disabled lists and boxes
// show their figures in their own text colour, not greyed out. A control without
// colours of its own follows the desktop's scheme, its text and its field as a pair.
void applyColours(QWidget* w, const ControlSpec& def) {
    QPalette pal = w->palette();
    if (def.foreground) {
        const QColor fg = toColor(*def.foreground);
        for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            pal.setColor(role, fg);  // all colour groups
    }
    if (def.background) {
        const QColor bg = toColor(*def.background);
        for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window}) pal.setColor(role, bg);
    }
    w->setPalette(pal);
}

}  // namespace

// The window as the handlers and the initialisation see it.
class WindowView final : public WorksheetView, public WorksheetLists {
public:
    explicit WindowView(UserForm2& form) : form_(form) {}

    void reset(QHash<QString, QWidget*> controls) { controls_ = std::move(controls); }
    QWidget* find(const std::string& name) const {
        return controls_.value(QString::fromStdString(name), nullptr);
    }
    QWidget* find(const QString& name) const { return controls_.value(name, nullptr); }

    std::string text(const std::string& control) const override {
        QWidget* w = find(control);
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
        if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
        return {};
    }
    void setText(const std::string& control, const std::string& text) override {
        QWidget* w = find(control);
        const QString t = QString::fromStdString(text);
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(t);
        else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(t);
        else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable()) c->setEditText(t);
    }
    int listIndex(const std::string& list) const override {
        auto* c = qobject_cast<QComboBox*>(find(list));
        return c ? c->currentIndex() : -1;
    }
    bool setListIndex(const std::string& list, int index) override {
        auto* c = qobject_cast<QComboBox*>(find(list));
        if (!c || index < -1 || index >= c->count()) return false;
        c->setCurrentIndex(index);
        return true;
    }
    bool isVisible(const std::string& control) const override {
        QWidget* w = find(control);
        return w && !w->isHidden();
    }
    void setVisible(const std::string& control, bool visible) override {
        if (QWidget* w = find(control)) w->setVisible(visible);
    }
    bool setFocus(const std::string& control) override {
        QWidget* w = find(control);
        if (!w || w->isHidden() || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus) return false;
        w->setFocus(Qt::OtherFocusReason);
        // The user types over what is there.
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
        return true;
    }
    void setHelp(const std::string& text) override { setText("lbHelp", text); }
    void showHelp() override { setVisible("lbHelp", true); }
    void showMessage(const std::string& text) override {
        ++form_.messages_;
        showMessageBox(&form_, QString::fromStdString(text));
        // Without a window manager nothing gives the worksheet its activation back.
        form_.activateWindow();
    }
    void appendEntry(const std::string& list, const std::string& text) override {
        if (auto* c = qobject_cast<QComboBox*>(find(list))) c->addItem(QString::fromStdString(text));
    }

private:
    UserForm2& form_;
    QHash<QString, QWidget*> controls_;
};

UserForm2::UserForm2(const RegionalSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      view_(std::make_unique<WindowView>(*this)) {
    setObjectName(QStringLiteral("UserForm2"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    setFixedSize(toPixels(kClientWidthTwips), toPixels(kClientHeightTwips));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toColor(kWindowBackground));
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(fontFor(kWindowFont));
    installAccessibleListNames();

    buildControls();
    initialise();
}

UserForm2::~UserForm2() {
    // The controls go first, while everything their signals reach still exists.
    closing_ = true;
    ++busy_;
    delete controls_;
}

QWidget* UserForm2::control(const QString& name) const { return view_->find(name); }

void UserForm2::buildControls() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("controls"));
    page->setGeometry(0, 0, width(), height());
    page->setFocusPolicy(Qt::NoFocus);
    // Most controls share one font: the page carries it, so only the others set their own.
    constexpr FontSpec common{9.75, true, false};
    page->setFont(fontFor(common));

    QHash<QString, QWidget*> byName;
    std::vector<std::pair<int, QWidget*>> tabOrder;
    std::vector<QWidget*> labels;

    for (const ControlSpec& def : kControls) {
        const QString text = QString::fromUtf8(def.text);
        QWidget* w = nullptr;
        switch (def.kind) {
            case ControlKind::Label: {
                auto* label = new QLabel(text, page);
                label->setTextFormat(Qt::PlainText);
                label->setFocusPolicy(Qt::NoFocus);
                label->setWordWrap(def.wraps);
                label->setAlignment(alignmentFor(def.align) | verticalAlignmentFor(def.valign));
                label->setAutoFillBackground(def.background.has_value());
                labels.push_back(label);
                w = label;
                break;
            }
            case ControlKind::TextBox: {
                auto* box = new QLineEdit(text, page);
                box->setAlignment(alignmentFor(def.align) | Qt::AlignVCenter);
                w = box;
                break;
            }
            case ControlKind::PushButton: {
                QString caption = text;
                caption.replace(QLatin1Char('&'), QStringLiteral("&&"));  // no access keys
                auto* button = new QPushButton(caption, page);
                button->setAutoDefault(false);
                button->setDefault(false);
                const QString name = QString::fromUtf8(def.name);
                connect(button, &QPushButton::clicked, this, [this, name] { runCommand(name); });
                w = button;
                break;
            }
            case ControlKind::DropDown: {
                QComboBox* list = def.enabled ? new QComboBox(page) : new ComponentList(page);
                list->setInsertPolicy(QComboBox::NoInsert);
                list->setDuplicatesEnabled(true);
                if (def.enabled) {
                    // The jurisdiction list: its text field takes typing, which chooses nothing.
                    list->setEditable(true);
                    list->setCompleter(nullptr);
                    list->setMaxVisibleItems(15);
                    list->lineEdit()->setText(text);
                    list->lineEdit()->setAccessibleName(QString::fromUtf8(def.accessibleName));
                    // Leaving the text field or pressing Enter on a matching name would
                    // otherwise choose that entry.
                    disconnect(list->lineEdit(), &QLineEdit::editingFinished, list, nullptr);
                    disconnect(list->lineEdit(), &QLineEdit::returnPressed, list, nullptr);
                    list->lineEdit()->installEventFilter(this);
                    connect(list, qOverload<int>(&QComboBox::activated), this, [this] { chooseState(); });
                } else {
                    list->setFocusPolicy(Qt::NoFocus);
                }
                w = list;
                break;
            }
        }
        w->setObjectName(QString::fromUtf8(def.name));
        w->installEventFilter(this);
        w->setGeometry(toPixels(def.left), toPixels(def.top), toPixels(def.width),
                       toPixels(def.height));
        const FontSpec font = def.font.windowFont ? kWindowFont : def.font;
        if (font.points != common.points || font.bold != common.bold) w->setFont(fontFor(font));
        applyColours(w, def);
        if (def.tooltip) w->setToolTip(QString::fromUtf8(def.tooltip));
        if (def.accessibleName) w->setAccessibleName(QString::fromUtf8(def.accessibleName));
        w->setEnabled(def.enabled);
        if (!def.enabled) w->setFocusPolicy(Qt::NoFocus);
        w->setVisible(def.visible);
        byName.insert(w->objectName(), w);
        if (w->focusPolicy() != Qt::NoFocus) tabOrder.emplace_back(def.tab, w);
    }

    // Labels lie beneath every other control they overlap.
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) (*it)->lower();

    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    for (int row = 0; row < kHoursRows; ++row) {
        auto* box = qobject_cast<QLineEdit*>(byName.value(QString::fromUtf8(kRows[row].hours)));
        hoursBoxes_[row] = box;
    }

    view_->reset(std::move(byName));
    controls_ = page;
}

void UserForm2::initialise() {
    initialiseWorksheet(*view_);
    // A list selects its first entry when it is filled; the worksheet starts with none.
    for (const ControlSpec& def : kControls) {
        if (def.kind != ControlKind::DropDown) continue;
        auto* list = qobject_cast<QComboBox*>(control(QString::fromUtf8(def.name)));
        list->setCurrentIndex(-1);
        if (list->isEditable()) list->setEditText(QString::fromUtf8(def.text));
    }
}

void UserForm2::focusStart() {
    if (QWidget* state = control(QStringLiteral("cbState"))) state->setFocus(Qt::OtherFocusReason);
}

int UserForm2::hoursRow(const QObject* widget) const {
    for (int row = 0; row < kHoursRows; ++row)
        if (widget && hoursBoxes_[row] == widget) return row;
    return -1;
}

void UserForm2::runHoursHandler(int row) {
    ++busy_;
    Estimate(*view_, settings_).hoursLeft(row);
    --busy_;
}

void UserForm2::update() {
    ++busy_;
    Estimate(*view_, settings_).update();
    --busy_;
}

void UserForm2::chooseState() {
    if (closing_) return;
    ++busy_;
    Estimate(*view_, settings_).stateChosen();
    --busy_;
}

void UserForm2::printForm() {
    ++busy_;
    const QString problem = tf::printForm(*this);
    if (!problem.isEmpty()) view_->showMessage(problem.toStdString());
    --busy_;
}

void UserForm2::clearForm() {
    ++busy_;
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
    --busy_;
}

void UserForm2::closeAndExit() {
    closing_ = true;
    close();
    QCoreApplication::exit(0);
}

void UserForm2::runCommand(const QString& button) {
    if (closing_) return;
    if (button == QLatin1String("cbUpdate")) update();
    else if (button == QLatin1String("cbPrint")) printForm();
    else if (button == QLatin1String("cbClear")) clearForm();
    else if (button == QLatin1String("cbClose")) closeAndExit();
}

void UserForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!windowFilterInstalled_ && windowHandle()) {
        windowHandle()->installEventFilter(this);
        windowFilterInstalled_ = true;
    }
}

void UserForm2::closeEvent(QCloseEvent* event) {
    closing_ = true;
    event->accept();
}

// Text typed into the jurisdiction list chooses nothing, so when the user leaves the list
// it shows again what is chosen (or the prompt): the worksheet, on screen and on paper,
// never names a jurisdiction whose figures it does not show.
void UserForm2::restoreStateText(QObject* watched, Qt::FocusReason reason) {
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    auto* list = qobject_cast<QComboBox*>(control(QStringLiteral("cbState")));
    if (!list || (watched != list && watched != list->lineEdit())) return;
    const int index = list->currentIndex();
    const QString shown = index >= 0 ? list->itemText(index) : QString::fromUtf8(findControl("cbState")->text);
    if (list->currentText() != shown) list->setEditText(shown);
}

// A click that moves the focus out of an hours box runs that box's handler before the
// clicked control sees the press. When the handler had to show a message, the click is
// used up by it; a push button still carries out its command afterwards.
bool UserForm2::preMousePress(QEvent* event) {
    if (busy_ || closing_) return false;
    QWidget* focus = QApplication::focusWidget();
    const int row = hoursRow(focus);
    if (row < 0) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    QWidget* target = childAt(mouse->position().toPoint());
    while (target && target != this &&
           !(target->isEnabled() && (target->focusPolicy() & Qt::ClickFocus)))
        target = target->parentWidget();
    if (!target || target == this || target == focus || focus->isAncestorOf(target)) return false;

    const int before = messages_;
    handledByPress_ = focus;
    runHoursHandler(row);
    if (messages_ == before) {
        // The press goes on and moves the focus; its focus-out must not run the handler again.
        QTimer::singleShot(0, this, [this] { handledByPress_ = nullptr; });
        return false;
    }
    handledByPress_ = nullptr;
    if (auto* button = qobject_cast<QPushButton*>(target); button && mouse->button() == Qt::LeftButton)
        runCommand(button->objectName());
    return true;
}

bool UserForm2::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (watched == windowHandle()) return preMousePress(event);
            break;
        case QEvent::FocusOut: {
            if (closing_) break;
            restoreStateText(watched, static_cast<QFocusEvent*>(event)->reason());
            const int row = hoursRow(watched);
            if (row < 0) break;
            if (handledByPress_ == watched) {
                handledByPress_ = nullptr;
                break;
            }
            if (busy_ || closing_) break;
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
                reason != Qt::MouseFocusReason)
                break;  // the window lost its activation, or the worksheet moved the focus
            QWidget* now = QApplication::focusWidget();
            if (!now || now->window() != this) break;
            runHoursHandler(row);
            break;
        }
        case QEvent::Wheel: {
            // Turning the wheel over the closed state list would change the jurisdiction
            // (and every figure) without the user choosing one; the opened list scrolls.
            auto* list = qobject_cast<QComboBox*>(control(QStringLiteral("cbState")));
            if (list && (watched == list || watched == list->lineEdit())) return true;
            break;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            // No control has an access key: Alt with a letter or digit does nothing at all.
            const auto mods = key->modifiers();
            if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) &&
                ((key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) ||
                 (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9)))
                return true;
            // Enter in the jurisdiction list's text field chooses nothing and adds nothing.
            if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) break;
            auto* list = qobject_cast<QComboBox*>(control(QStringLiteral("cbState")));
            if (list && (watched == list || watched == list->lineEdit())) return true;
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tf
