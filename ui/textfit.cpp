#include "textfit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QtMath>

#ifndef Q_OS_WIN
namespace {

// The smallest size tried; below it the texts would not be readable.
constexpr qreal SMALLEST_POINT_SIZE = 6.5;

// The serial settings' combo boxes are 50 and 30 pixels wide: room for
// "NONE" or a digit beside a Windows arrow, but not beside the wider arrow
// and margins of the Linux styles. Their arrow gets a narrower strip.
class CompactComboStyle : public QProxyStyle
{
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField))
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QRect inner = option->rect.adjusted(2, 2, -2, -2);
        const int arrow = 10;
        if (part == SC_ComboBoxArrow)
            return QRect(inner.right() - arrow + 1, inner.top(), arrow, inner.height());
        return QRect(inner.left() + 1, inner.top(), inner.width() - arrow - 1, inner.height());
    }
};

void compactNarrowCombos(QWidget *window)
{
    for (QComboBox *combo : window->findChildren<QComboBox *>()) {
        if (combo->maximumWidth() > 50 || combo->property("compact").toBool())
            continue;
        auto *style = new CompactComboStyle;
        style->setParent(combo);
        combo->setStyle(style);
        combo->setProperty("compact", true);
    }
}

// A MAC in its widest form, as the device table shows it.
const char WIDEST_MAC[] = "DDDDDDDDDDDD";

bool comboFits(const QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const int room =
        combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .width();
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) > room)
            return false;
    }
    return true;
}

bool buttonFits(const QAbstractButton *button)
{
    return button->isHidden() || button->sizeHint().width() <= button->width();
}

bool labelFits(const QLabel *label)
{
    return label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
}

bool tableFits(const QTableWidget *table)
{
    // The columns share the table's width evenly; each cell keeps a margin.
    const int columns = qMax(1, table->columnCount());
    const int margin =
        2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
    const int room = (table->width() - 2 * table->frameWidth()) / columns - margin;
    return table->fontMetrics().horizontalAdvance(QLatin1String(WIDEST_MAC)) <= room;
}

bool everythingFits(QWidget *window)
{
    for (QLayout *layout : window->findChildren<QLayout *>())
        layout->activate();
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!labelFits(label))
            return false;
    }
    for (const QComboBox *combo : window->findChildren<QComboBox *>()) {
        if (!comboFits(combo))
            return false;
    }
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!buttonFits(button))
            return false;
    }
    for (const QTableWidget *table : window->findChildren<QTableWidget *>()) {
        if (!tableFits(table))
            return false;
    }
    return true;
}

// How far the texts must shrink at the window's present font: the least
// ratio of room to need over captions, combo entries and the table. Text
// widths scale with the point size, so the fit can start near its answer
// instead of trying every half point from the top.
qreal shrinkNeeded(QWidget *window)
{
    for (QLayout *layout : window->findChildren<QLayout *>())
        layout->activate();
    qreal ratio = 1.0;
    const auto consider = [&ratio](int room, int need) {
        if (need > 0 && room > 0)
            ratio = qMin(ratio, qreal(room) / need);
    };
    for (const QLabel *label : window->findChildren<QLabel *>())
        consider(label->contentsRect().width(),
                 label->fontMetrics().horizontalAdvance(label->text()));
    for (const QComboBox *combo : window->findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const int room =
            combo->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                .width();
        for (int i = 0; i < combo->count(); ++i)
            consider(room, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    }
    return ratio;
}

} // namespace
#endif

namespace TextFit {

void fitForm(QWidget *window)
{
#ifdef Q_OS_WIN
    Q_UNUSED(window);
#else
    compactNarrowCombos(window);
    QFont font = QApplication::font(window);
    if (window->font() != font)
        window->setFont(font); // from a fit for the other language
    qreal start = font.pointSizeF();
    const qreal shrink = shrinkNeeded(window);
    if (shrink >= 1.0 && everythingFits(window))
        return;
    // Half a point above the estimate, in case a margin does not scale.
    start = qMax(SMALLEST_POINT_SIZE, qFloor(start * shrink * 2) / 2.0 + 0.5);
    for (qreal size = start; size >= SMALLEST_POINT_SIZE; size -= 0.5) {
        font.setPointSizeF(size);
        window->setFont(font);
        if (everythingFits(window))
            return;
    }
#endif
}

void fitWhenShown(QWidget *window)
{
    if (window->isVisible()) {
        fitForm(window);
        return;
    }
    // Each fit sets fonts on every widget several times; only the language
    // the window shows in needs it.
    window->setProperty("textFitPending", true);
}

void fitIfPending(QWidget *window)
{
    if (!window->property("textFitPending").toBool())
        return;
    window->setProperty("textFitPending", false);
    fitForm(window);
}

} // namespace TextFit
