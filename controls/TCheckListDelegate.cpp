#include "controls/TCheckListDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace {

constexpr int BoxSide = 9;  // in a 13-pixel row: two pixels apart from its neighbours
constexpr int BoxLeft = 3;
constexpr int TextGap = 4;

} // namespace

QRect TCheckListDelegate::CheckBoxRect(const QRect &row)
{
    return QRect(row.left() + BoxLeft, row.top() + (row.height() - BoxSide) / 2, BoxSide, BoxSide);
}

QRect TCheckListDelegate::TextRect(const QRect &row)
{
    QRect text = row;
    text.setLeft(CheckBoxRect(row).right() + 1 + TextGap);
    return text;
}

bool TCheckListDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    // The style's margins around the text, counted as a cut, leave no row that shows an
    // ellipsis without its tooltip.
    const int room = TextRect(option.rect).width() - 2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) - 2;
    if (option.fontMetrics.horizontalAdvance(text) > room)
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}

void TCheckListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, item.widget);

    const bool selected = item.state.testFlag(QStyle::State_Selected);
    const QColor ink = item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect box = CheckBoxRect(item.rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(ink, 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    if (item.checkState == Qt::Checked) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(box.left() + 2.0, box.top() + 4.5);
        tick.lineTo(box.left() + 4.0, box.top() + 6.5);
        tick.lineTo(box.left() + 7.0, box.top() + 2.0);
        painter->drawPath(tick);
    }
    painter->restore();

    // The text as the style draws it, right of the box, with no check indicator of its own.
    item.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    item.rect = TextRect(item.rect);
    item.state &= ~QStyle::State_HasFocus;
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
}
