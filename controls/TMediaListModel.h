#pragma once

#include "medialist/TListFilter.h"
#include "medialist/TMediaEntries.h"

#include <QAbstractListModel>

class QTimer;

// The media list's entries as rows of a list view: the texts decoded for display, the marks
// as check states. While a find query is set, the rows are the entries that match it; the
// entries stay the whole list.
class TMediaListModel : public QAbstractListModel, private TMediaEntries::TObserver {
    Q_OBJECT

public:
    static constexpr int RowHeight = 13;
    // Only so much of an entry's text is shown (with an ellipsis after it); the entry keeps
    // all of it. A row is one line wide, and laying out megabytes takes seconds.
    static constexpr qsizetype DisplayedBytes = 4096;
    // How a row shows an entry's bytes.
    static QString DisplayText(const QByteArray &text);

    explicit TMediaListModel(QObject *parent = nullptr);
    ~TMediaListModel() override;

    TMediaEntries &Entries() { return entries_; }
    const TMediaEntries &Entries() const { return entries_; }

    // Shows only the entries that match the query (see TListFilter), found on the event loop
    // in slices; an empty query shows every entry.
    void SetFindQuery(const QString &text);
    bool ShowsAll() const { return filter_.ShowsAll(); }
    // While a query's matches are being found, the last ones stay shown.
    bool Finding() const { return filter_.Scanning(); }
    // The entry shown in a row, and back: -1 for none.
    int EntryAt(int row) const { return filter_.RowAt(row); }
    int RowOf(int entry) const { return filter_.PositionOf(entry); }
    // The row at which the entry is or would be shown.
    int RowBefore(int entry) const { return filter_.InsertionPosition(entry); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Rows are dragged between rows, never onto one.
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

signals:
    // The rows shown, the number of entries, or whether the rows are still being found, may
    // have changed.
    void ShownChanged();
    // The entry was removed from the list, shown or not; the later ones moved down.
    void EntryRemoved(int entry);

private:
    void ScanSlice();
    void RowsAboutToBeInserted(int first, int last) override;
    void RowsInserted() override;
    void RowAboutToBeRemoved(int row) override;
    void RowRemoved() override;
    void AboutToBeCleared() override;
    void Cleared() override;
    void MarksChanged(int first, int last) override;
    void AboutToBeReplaced(int first) override;
    void Replaced() override;
    void LabelChanged(int row) override;

    TMediaEntries entries_;
    TListFilter filter_{entries_};
    QTimer *scanTimer_;
    int insertedFirst_ = 0;
    bool insertShown_ = false;
    int removedEntry_ = -1;
    bool removalShown_ = false;
};
