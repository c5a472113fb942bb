#pragma once

// Where a media list stands: the selected entry, as the list's view keeps it.
class TListCursor {
public:
    virtual ~TListCursor() = default;
    // -1 when no entry is selected; selecting outside the list leaves no selection.
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
};
