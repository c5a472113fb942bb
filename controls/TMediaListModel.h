#pragma once

#include "ListFormats.h"
#include "TFoldedTextIndex.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QList>
#include <vector>

// The entries of the media list: texts kept as the bytes they were given, each with its
// played mark. Texts are decoded only for display.
class TMediaListModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int RowHeight = 13;
    // Only so much of an entry's text is shown (with an ellipsis after it); the entry keeps
    // all of it. A row is one line wide, and laying out megabytes takes seconds.
    static constexpr qsizetype DisplayedBytes = 4096;
    // How a row shows an entry's bytes.
    static QString DisplayText(const QByteArray &text);

    using QAbstractListModel::QAbstractListModel;

    int Count() const { return int(texts_.size()); }
    // Text and Checked raise EListError when the row is out of range.
    QByteArray Text(int row) const;
    bool Checked(int row) const;
    void SetChecked(int row, bool checked);
    void SetAllChecked(bool checked);
    // Appending returns the new row; the batch form inserts all rows in one step.
    int Append(const QByteArray &text);
    void Append(const QList<QByteArray> &texts);
    void AppendEntries(const QList<TListEntry> &entries);
    QList<TListEntry> Entries() const;
    void RemoveAt(int row);
    void Clear();
    // The first row whose text equals the given one ignoring letter case, or -1.
    int IndexOf(const QByteArray &text) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // Marks change without dataChanged, which would make a list view lay out every row again.
    void MarksChanged(int first, int last);

private:
    void CheckRow(int row) const;
    void AppendUnsignalled(const QByteArray &text, bool checked);
    template <typename Items, typename Add>
    void AppendBatch(const Items &items, Add add);

    std::vector<QByteArray> texts_;
    std::vector<char> checked_;
    TFoldedTextIndex index_;
};
