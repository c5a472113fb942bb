#pragma once

#include "medialist/TTextStore.h"

#include <QByteArray>
#include <QList>
#include <vector>

// A media list's entries as they were at one moment: what a list file is written from. Cheap
// to take (the texts' blocks are shared, the marks copied) and safe to read on another thread
// while the list goes on changing.
class TListSnapshot {
public:
    TListSnapshot(TTextStore::TSnapshot texts, std::vector<char> checked)
        : texts_(std::move(texts)), checked_(std::move(checked))
    {
    }

    int Count() const { return int(texts_.Size()); }
    // No range checks: the rows are those below Count.
    QByteArray Text(int row) const { return texts_.At(size_t(row)); }
    // The text's bytes without a copy or a share of them, valid while the snapshot lives.
    QByteArrayView TextView(int row) const { return texts_.View(size_t(row)); }
    bool MarkAt(int row) const { return checked_[size_t(row)] != 0; }
    QList<QByteArray> Texts() const;

private:
    TTextStore::TSnapshot texts_;
    std::vector<char> checked_;
};
