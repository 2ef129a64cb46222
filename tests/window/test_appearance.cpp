// Every text of the worksheet as drawn: readable (WCAG AA contrast against what it is
// drawn on) under a light, a dark and a high-contrast desktop scheme, and whole, not
// clipped, at the scale factor the test runs under (QT_SCALE_FACTOR).
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>
#include <map>

#include "window/control_table.h"
#include "worksheet_driver.h"

using tf::test::Worksheet;

namespace {

// A high-contrast desktop: white text on black everywhere.
QPalette highContrastPalette() {
    QPalette p(Qt::white, Qt::black, Qt::white, Qt::black, Qt::gray, Qt::white, Qt::white, Qt::black, Qt::black);
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0, 255, 255));
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

// WCAG 2 relative luminance and contrast ratio.
double luminance(QRgb c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString shownText(QWidget* w) {
    if (auto* b = qobject_cast<QPushButton*>(w)) return b->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    return {};
}

// Where a control's text can go, in its own coordinates, and how it is aligned there.
QRect textArea(QWidget* w, int& flags) {
    if (auto* l = qobject_cast<QLabel*>(w)) {
        flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        return l->contentsRect();
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        flags = int(e->alignment());
        QStyleOptionFrame option;
        option.initFrom(e);
        option.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e);
        // The line edit keeps two pixels between its frame and its text.
        return e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e).adjusted(2, 0, -2, 0);
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        flags = Qt::AlignCenter;
        QStyleOptionButton option;
        option.initFrom(b);
        const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, b) / 2;
        return b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b).adjusted(margin, 0, -margin, 0);
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) return textArea(c->lineEdit(), flags).translated(c->lineEdit()->pos());
        flags = Qt::AlignRight | Qt::AlignVCenter;
        return c->rect().adjusted(3, 0, -4, 0);  // as the component lists paint their figure
    }
    return {};
}

}  // namespace

class Appearance : public QObject {
    Q_OBJECT

    Worksheet sheet;

    // Alabama, and hours in every row: every box and label shows its text.
    void fillIn() {
        auto* state = sheet.get<QComboBox>("cbState");
        QTest::keyClick(state, Qt::Key_Down);
        const char* hours[] = {"1234.5", "80", "2.4", "15", "999999"};
        for (int row = 0; row < 5; ++row) sheet.typeHours(row, QString::fromLatin1(hours[row]));
        QVERIFY(sheet.text("tbTotal").startsWith(QLatin1Char('$')));
        QVERIFY(sheet.get("lbHelp")->isVisible());
    }

private slots:
    void cleanup() {
        sheet.close();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    void everyTextReadable_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QTest::newRow("dark") << tf::test::darkPalette();
        QTest::newRow("high contrast") << highContrastPalette();
    }
    void everyTextReadable() {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        QVERIFY(sheet.open());
        fillIn();
        const QImage image = sheet.form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal scale = image.devicePixelRatio();

        QStringList unreadable;
        int checked = 0;
        for (const tf::ControlSpec& def : tf::kControls) {
            QWidget* w = sheet.get(def.name);
            const QString text = shownText(w);
            if (text.isEmpty() || w->isHidden()) continue;
            int flags = 0;
            const QRect area = textArea(w, flags);
            const QRect inked = w->fontMetrics().boundingRect(area, flags, text).intersected(area);
            const QRect onForm(w->mapTo(sheet.form.get(), inked.topLeft()), inked.size());
            const QRect pixels(QPoint(std::lround(onForm.left() * scale), std::lround(onForm.top() * scale)),
                               QSize(std::lround(onForm.width() * scale), std::lround(onForm.height() * scale)));

            // What the text is drawn on: the commonest colour where it stands.
            std::map<QRgb, int> counts;
            for (int y = pixels.top(); y <= pixels.bottom(); ++y)
                for (int x = pixels.left(); x <= pixels.right(); ++x) ++counts[image.pixel(x, y)];
            const QRgb ground =
                std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })
                    ->first;
            // The text itself: the pixels that stand out from it. Their edges blend into the
            // ground, so the ratio that the strongest tenth of them reach is the text's own.
            std::vector<double> ink;
            for (const auto& [colour, n] : counts)
                if (const double c = contrast(colour, ground); c > 1.2) ink.insert(ink.end(), n, c);
            std::sort(ink.begin(), ink.end());
            const double ratio = ink.size() < 8 ? 1.0 : ink[ink.size() * 9 / 10];
            ++checked;
            if (ratio < 4.5)
                unreadable << QStringLiteral("%1 \"%2\": %3 : 1 on %4").arg(def.name, text).arg(ratio, 0, 'f', 2)
                                  .arg(QColor(ground).name());
        }
        QCOMPARE(checked, 52);
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QLatin1Char('\n'))));
    }

    // The component lists copy one drawing of their panel: each looks exactly as the style
    // draws it, at every scale.
    void listsDrawnAsTheStyleDraws() {
        QVERIFY(sheet.open());
        const QList<QComboBox*> lists = sheet.form->findChildren<QComboBox*>();
        for (QComboBox* list : lists) {
            if (list->isEditable()) continue;
            QImage drawn = list->grab().toImage();
            drawn.fill(list->palette().color(list->backgroundRole()));
            QPainter painter(&drawn);
            QStyleOptionFrame frame;
            frame.initFrom(list);
            frame.lineWidth = list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, list);
            frame.state |= QStyle::State_Sunken;
            list->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, list);
            painter.end();
            QVERIFY2(list->grab().toImage() == drawn, qPrintable(list->objectName()));
        }
        QCOMPARE(lists.size(), 16);
    }

    // The layout scales as a whole, and every text fits in its control.
    void everyTextWhole() {
        QVERIFY(sheet.open());
        fillIn();
        const qreal scale = sheet.form->devicePixelRatioF();
        QCOMPARE(sheet.form->grab().size(), (QSizeF(793, 633) * scale).toSize());
        QStringList clipped;
        for (const tf::ControlSpec& def : tf::kControls) {
            QWidget* w = sheet.get(def.name);
            const QString text = shownText(w);
            if (text.isEmpty()) continue;
            int flags = 0;
            const QRect area = textArea(w, flags);
            const QRectF needed = QFontMetricsF(w->font()).boundingRect(QRectF(area), flags, text);
            if (needed.width() > area.width() || needed.height() > area.height())
                clipped << QStringLiteral("%1 \"%2\" needs %3 x %4, has %5 x %6")
                               .arg(def.name, text).arg(needed.width()).arg(needed.height())
                               .arg(area.width()).arg(area.height());
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(Appearance)
#include "test_appearance.moc"
