#pragma once

#include "medialist/TMediaEntries.h"

#include <QAbstractListModel>

// The media list's entries as rows of a list view: the texts decoded for display, the marks
// as check states.
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

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void RowsAboutToBeInserted(int first, int last) override;
    void RowsInserted() override;
    void RowAboutToBeRemoved(int row) override;
    void RowRemoved() override;
    void AboutToBeCleared() override;
    void Cleared() override;
    void MarksChanged(int first, int last) override;

    TMediaEntries entries_;
};
