#include "window/control_factory.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstring>
#include <vector>

#include "refdata/control_names.h"
#include "window/font_substitute.h"
#include "window/input_controls.h"

namespace tf {

namespace {

// Verdana where it is installed, otherwise the platform's stand-in for it
// (font_substitute_<platform>.cpp). Found once: asking for a missing family makes every new
// size and weight search the fallbacks.
const QString& fontFamily() {
    static const QString family = [] {
        const QString verdana = QStringLiteral("Verdana");
        if (QFontDatabase::hasFamily(verdana)) return verdana;
        const QString substitute = verdanaSubstitute();
        return substitute.isEmpty() ? verdana : substitute;
    }();
    return family;
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

// The row whose hours box this is, -1 for any other control.
int hoursRowOf(const ControlSpec& def) {
    for (std::size_t row = 0; row < kRowCount; ++row)
        if (std::strcmp(kRows[row].hours, def.name) == 0) return static_cast<int>(row);
    return -1;
}

QWidget* createControl(const ControlSpec& def, QWidget* page) {
    const QString text = QString::fromUtf8(def.text);
    switch (def.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(text, page);
            label->setTextFormat(Qt::PlainText);
            label->setFocusPolicy(Qt::NoFocus);
            label->setWordWrap(def.wraps);
            label->setAlignment(alignmentFor(def.align) | verticalAlignmentFor(def.valign));
            label->setAutoFillBackground(def.background.has_value());
            return label;
        }
        case ControlKind::TextBox: {
            const int row = hoursRowOf(def);
            QLineEdit* box = row >= 0 ? new HoursBox(row, text, page) : new QLineEdit(text, page);
            box->setAlignment(alignmentFor(def.align) | Qt::AlignVCenter);
            return box;
        }
        case ControlKind::PushButton: {
            QString caption = text;
            caption.replace(QLatin1Char('&'), QStringLiteral("&&"));  // no access keys
            auto* button = new QPushButton(caption, page);
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        case ControlKind::StateList: {
            auto* state = new StateList(text, page);
            state->setDuplicatesEnabled(true);
            state->setMaxVisibleItems(15);
            state->lineEdit()->setText(text);
            state->lineEdit()->setAccessibleName(QString::fromUtf8(def.accessibleName));
            return state;
        }
        case ControlKind::ComponentList: {
            auto* list = new ComponentList(page);
            list->setInsertPolicy(QComboBox::NoInsert);
            list->setDuplicatesEnabled(true);
            list->setFocusPolicy(Qt::NoFocus);
            return list;
        }
    }
    return nullptr;
}

}  // namespace

QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QFont fontFor(const FontSpec& def) {
    QFont font(fontFamily());
    font.setPointSizeF(def.points);
    font.setBold(def.bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

ControlPage buildControlPage(QWidget& window) {
    auto* page = new QWidget(&window);
    page->setObjectName(QStringLiteral("controls"));
    page->setGeometry(0, 0, window.width(), window.height());
    page->setFocusPolicy(Qt::NoFocus);
    // Most controls share one font: the page carries it, so only the others set their own.
    constexpr FontSpec common{9.75, true, false};
    page->setFont(fontFor(common));

    QHash<QString, QWidget*> byName;
    std::vector<std::pair<int, QWidget*>> tabOrder;
    std::vector<QWidget*> labels;

    for (const ControlSpec& def : kControls) {
        QWidget* w = createControl(def, page);
        if (def.kind == ControlKind::Label) labels.push_back(w);
        w->setObjectName(QString::fromUtf8(def.name));
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

    return {page, std::move(byName)};
}

}  // namespace tf
