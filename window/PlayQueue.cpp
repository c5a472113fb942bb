// Edit > Queue: entries to be played next, before what Next and the advance would choose,
// kept between runs for the list file they belong to.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "window/WindowValues.h"

void TFormMediaPlayer::miQueueClick(QObject *)
{
    // Only the entry the user sees selected; none, nothing happens.
    const int selected = lbFiles->ShownItemIndex();
    if (selected >= 0)
        lbFiles->MediaEntries().ToggleQueued(selected);
}

void TFormMediaPlayer::StoreQueue()
{
    const TMediaEntries &entries = lbFiles->MediaEntries();
    // A player whose queue was never used writes nothing of it.
    if (entries.Queue().Empty() && TStoredQueue::Read().Rows.empty())
        return;
    TStoredQueue stored;
    stored.ListFile = ListFilePath();
    stored.Rows = entries.QueuedRows();
    for (const int row : stored.Rows)
        stored.Entries.append(entries.Text(row));
    stored.Write();
}

void TFormMediaPlayer::RestoreQueue()
{
    const TStoredQueue stored = TStoredQueue::Read();
    if (stored.Rows.empty() || stored.ListFile != ListFilePath())
        return;
    TMediaEntries &entries = lbFiles->MediaEntries();
    std::vector<int> rows;
    for (size_t i = 0; i < stored.Rows.size(); ++i) {
        const int row = stored.Rows[i];
        if (row >= 0 && row < entries.Count() && entries.Text(row) == stored.Entries[qsizetype(i)])
            rows.push_back(row);
    }
    entries.SetQueuedRows(rows);
}
