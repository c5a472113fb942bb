#pragma once

#include "controls/TMediaListModel.h"
#include "medialist/TListCursor.h"
#include "medialist/TListStepper.h"

#include <QListView>
#include <cstdint>

class TTextFile;

// The media list control: a view of the media list's entries, whose check marks are played
// marks, with stepping operations of its own driven by Order. Entry texts are bytes. While a
// find query is set it shows only the matching entries; indices are always the whole list's,
// and the current entry stays current while it is not shown.
class TOECheckListBox : public QListView, public TListCursor {
    Q_OBJECT

public:
    // While finding, the rows a batch of the view's layout takes: about 4 ms of it.
    static constexpr int LayoutBatchRows = 120000;

    explicit TOECheckListBox(QWidget *parent = nullptr);
    ~TOECheckListBox() override;

    virtual int Count() const;
    virtual TOEListOrder Order() const;
    // Stores the value and does nothing else.
    virtual void SetOrder(TOEListOrder order);
    // The step operations never wrap and discard every error.
    virtual void StepForward();
    virtual void StepBack();
    // Draws from the draw pool, refilling it from the list when empty; marks stay as they are.
    virtual void StepRandom();
    // The OML format: a mark line and a name line for each entry. Both raise EInOutError;
    // loading keeps the draw pool, and after a failed open the list is empty.
    virtual void SaveListFile(const QString &fileName);
    virtual void LoadListFile(const QString &fileName);
    // The count-prefixed form, at the current position of an open text file.
    virtual void WriteListText(TTextFile &file);
    virtual void ReadListText(TTextFile &file);
    // Appends the name only when the list lacks it; returns the index the lookup found, or -1.
    virtual int AddName(const QByteArray &name);
    // Returns the number of names given, or -1 for none.
    virtual int AddNames(const QList<QByteArray> &names);
    // Copies the other list's texts and marks; the selection is not copied.
    virtual void AssignList(const TOECheckListBox &other);
    virtual void StepByOrder();

    // Removes every entry, then empties the draw pool.
    void ClearList();

    // See TMediaListModel::SetFindQuery.
    void SetFindQuery(const QString &text);
    bool ShowsAll() const { return model_->ShowsAll(); }
    bool Finding() const { return model_->Finding(); }
    // The number of entries shown, and the current entry when one of them.
    int ShownCount() const { return model_->rowCount(); }
    int ShownItemIndex() const;
    int EntryAtRow(int row) const { return model_->EntryAt(row); }
    bool IsShown(int index) const { return model_->RowOf(index) >= 0; }
    int ShownRow(int index) const { return model_->RowOf(index); }
    // Brings the current entry into view on the next turn of the event loop, once however
    // often it moves before: scrolling at every move of a long run of moves costs more than
    // the moves.
    void ScrollToCurrentSoon();

    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    // Text, Checked and SetChecked raise EListError outside the list.
    QByteArray Text(int index) const;
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    void SetAllChecked(bool checked);
    int Append(const QByteArray &text);
    void Append(const QList<QByteArray> &texts);
    void AppendEntries(const QList<TListEntry> &entries);
    QList<TListEntry> Entries() const;
    void Delete(int index);
    // The first entry whose text equals the given one ignoring letter case, or -1.
    int IndexOf(const QByteArray &text) const;
    QList<QByteArray> Texts() const;
    const TTextPool &DrawPool() const { return stepper_.DrawPool(); }
    TMediaEntries &MediaEntries() { return model_->Entries(); }
    const TMediaEntries &MediaEntries() const { return model_->Entries(); }

signals:
    // Return, keypad Enter or a double click on an entry's text chose the entry, now current.
    void EntryChosen(int index);
    // "/" was typed in the list: the user wants to find an entry.
    void FindAsked();
    // See TMediaListModel::ShownChanged.
    void ShownChanged();
    // The user dragged the entry within the list and dropped it before the other one (Count:
    // after the last); nothing has moved yet.
    void EntryDragged(int entry, int before);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // A row of the list dropped on it is a move, told by EntryDragged; the list's model moves
    // nothing itself.
    void dropEvent(QDropEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    // A row selected without being made current (as assistive technologies select) becomes the
    // current one: in a list of one selection the two are the same to the user.
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    // From a current entry that is not shown, a step goes to the nearest shown one in its
    // direction.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) override;

private:
    // Whether the position is on an entry's check box, and which entry's.
    bool IsOnCheckBox(const QPoint &position, int *entry) const;
    void FollowRemoval(int entry);
    void ToggleMark(int row);

    TMediaListModel *model_;
    TListStepper stepper_;
    bool releaseBelongsToCheckBox_ = false;
    bool scrollPending_ = false;
    int hiddenCurrent_ = -1; // the current entry while no row shows it
    int currentBeforeReset_ = -1;
};
