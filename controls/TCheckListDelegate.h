#pragma once

#include <QStyledItemDelegate>

// Draws each row of the media list with a check box of its own: a square outlined in the
// text colour, apart from the boxes above and below it, and a check mark when the entry is
// marked, so that the marks read on the black list as on the white one.
class TCheckListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Where the check box of a row is drawn (and clicked).
    static QRect CheckBoxRect(const QRect &row);

    // Where the text of a row is drawn: right of its check box.
    static QRect TextRect(const QRect &row);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // A row whose text the list's width cuts shows the whole text as its tooltip.
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
};
