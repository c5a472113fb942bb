#include "controls/TOECheckListBox.h"

#include "controls/TCheckListDelegate.h"
#include "medialist/MediaListFile.h"
#include "medialist/TRandomGenerator.h"
#include "medialist/TTextFile.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

TOECheckListBox::TOECheckListBox(QWidget *parent)
    : QListView(parent), model_(new TMediaListModel(this)), stepper_(model_->Entries(), *this)
{
    setModel(model_);
    setItemDelegate(new TCheckListDelegate(this));
    setUniformItemSizes(true);
    setBatchSize(LayoutBatchRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAutoScroll(false); // the current entry is scrolled into view by ScrollToCurrentSoon
    // Rows are dragged to a new place within the list; the view draws the line where they go.
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
    // The rows shown change wholesale when a find's matches arrive; the current entry stays.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { currentBeforeReset_ = ItemIndex(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { SetItemIndex(currentBeforeReset_); });
    connect(model_, &TMediaListModel::EntryRemoved, this, &TOECheckListBox::FollowRemoval);
    connect(model_, &TMediaListModel::ShownChanged, this, &TOECheckListBox::ShownChanged);
}

TOECheckListBox::~TOECheckListBox() = default;

int TOECheckListBox::Count() const
{
    return MediaEntries().Count();
}

TOEListOrder TOECheckListBox::Order() const
{
    return stepper_.Order();
}

void TOECheckListBox::SetOrder(TOEListOrder order)
{
    stepper_.SetOrder(order);
}

void TOECheckListBox::StepForward()
{
    stepper_.StepForward();
}

void TOECheckListBox::StepBack()
{
    stepper_.StepBack();
}

void TOECheckListBox::StepRandom()
{
    stepper_.StepRandom(ProgramRandom());
}

void TOECheckListBox::SaveListFile(const QString &fileName)
{
    MediaListFile::SaveOml(fileName, MediaEntries());
}

void TOECheckListBox::LoadListFile(const QString &fileName)
{
    MediaListFile::LoadOml(fileName, MediaEntries());
}

void TOECheckListBox::WriteListText(TTextFile &file)
{
    ListFormats::WriteCountedPairs(file, Entries());
}

void TOECheckListBox::ReadListText(TTextFile &file)
{
    ClearList();
    AppendEntries(ListFormats::ReadCountedPairs(file));
}

int TOECheckListBox::AddName(const QByteArray &name)
{
    try {
        const int found = IndexOf(name);
        if (found < 0)
            Append(name);
        return found;
    } catch (...) {
        return -1;
    }
}

int TOECheckListBox::AddNames(const QList<QByteArray> &names)
{
    if (names.isEmpty())
        return -1;
    for (const QByteArray &name : names)
        AddName(name);
    return int(names.size());
}

void TOECheckListBox::AssignList(const TOECheckListBox &other)
{
    ClearList();
    Append(other.Texts());
    for (int row = 0; row < other.Count(); ++row)
        SetChecked(row, other.Checked(row));
}

void TOECheckListBox::StepByOrder()
{
    switch (stepper_.StepByOrder()) {
    case TListStepper::TStep::None:
        break;
    case TListStepper::TStep::Forward:
        StepForward();
        break;
    case TListStepper::TStep::Back:
        StepBack();
        break;
    case TListStepper::TStep::Random:
        StepRandom();
        break;
    }
}

void TOECheckListBox::ClearList()
{
    MediaEntries().Clear();
    stepper_.ClearDrawPool();
}

void TOECheckListBox::SetFindQuery(const QString &text)
{
    // The view lays out every row it is given in one turn, 40 ns a row: while finding, the
    // matches are laid out in batches of a few milliseconds, so that typing goes on; the whole
    // list again is laid out at once, so that the current entry can be brought into view.
    setLayoutMode(text.trimmed().isEmpty() ? QListView::SinglePass : QListView::Batched);
    model_->SetFindQuery(text);
}

int TOECheckListBox::ShownItemIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->EntryAt(current.row()) : -1;
}

int TOECheckListBox::ItemIndex() const
{
    const int shown = ShownItemIndex();
    return shown >= 0 ? shown : hiddenCurrent_;
}

void TOECheckListBox::SetItemIndex(int index)
{
    const int row = index >= 0 && index < Count() ? model_->RowOf(index) : -1;
    if (row < 0) {
        setCurrentIndex(QModelIndex());
        clearSelection();
        hiddenCurrent_ = index >= 0 && index < Count() ? index : -1;
        return;
    }
    selectionModel()->setCurrentIndex(model_->index(row), QItemSelectionModel::ClearAndSelect);
}

void TOECheckListBox::FollowRemoval(int entry)
{
    if (hiddenCurrent_ == entry)
        hiddenCurrent_ = -1;
    else if (hiddenCurrent_ > entry)
        --hiddenCurrent_;
}

QByteArray TOECheckListBox::Text(int index) const
{
    return MediaEntries().Text(index);
}

bool TOECheckListBox::Checked(int index) const
{
    return MediaEntries().Checked(index);
}

void TOECheckListBox::SetChecked(int index, bool checked)
{
    MediaEntries().SetChecked(index, checked);
}

void TOECheckListBox::SetAllChecked(bool checked)
{
    MediaEntries().SetAllChecked(checked);
}

int TOECheckListBox::Append(const QByteArray &text)
{
    return MediaEntries().Append(text);
}

void TOECheckListBox::Append(const QList<QByteArray> &texts)
{
    MediaEntries().Append(texts);
}

void TOECheckListBox::AppendEntries(const QList<TListEntry> &entries)
{
    MediaEntries().AppendEntries(entries);
}

QList<TListEntry> TOECheckListBox::Entries() const
{
    return MediaEntries().Entries();
}

void TOECheckListBox::Delete(int index)
{
    MediaEntries().RemoveAt(index);
}

int TOECheckListBox::IndexOf(const QByteArray &text) const
{
    return MediaEntries().IndexOf(text);
}

QList<QByteArray> TOECheckListBox::Texts() const
{
    return MediaEntries().Texts();
}

void TOECheckListBox::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    const QModelIndexList rows = selected.indexes();
    if (!rows.isEmpty() && rows.first() != currentIndex())
        selectionModel()->setCurrentIndex(rows.first(), QItemSelectionModel::NoUpdate);
}

void TOECheckListBox::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    if (current.isValid())
        hiddenCurrent_ = -1;
    ScrollToCurrentSoon();
}

QModelIndex TOECheckListBox::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const int rows = model_->rowCount();
    const bool down = cursorAction == MoveDown || cursorAction == MoveNext;
    if (currentIndex().isValid() || hiddenCurrent_ < 0 || rows == 0
        || !(down || cursorAction == MoveUp || cursorAction == MovePrevious))
        return QListView::moveCursor(cursorAction, modifiers);
    const int after = model_->RowBefore(hiddenCurrent_ + 1);
    return model_->index(down ? std::min(after, rows - 1) : std::max(after - 1, 0));
}

void TOECheckListBox::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    // A mark never changes a row's size: the list view's layout of every row again, which
    // costs a long list more than the change, is skipped; the repaint and the screen
    // reader's notice are not.
    if (roles == QList<int>{Qt::CheckStateRole}) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    QListView::dataChanged(topLeft, bottomRight, roles);
}

void TOECheckListBox::ScrollToCurrentSoon()
{
    if (std::exchange(scrollPending_, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scrollPending_ = false;
            if (currentIndex().isValid())
                scrollTo(currentIndex());
        },
        Qt::QueuedConnection);
}

void TOECheckListBox::keyPressEvent(QKeyEvent *event)
{
    // Space and Return act on the entry the user sees selected, never on one the find hides.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (ShownItemIndex() >= 0)
            ToggleMark(ShownItemIndex());
        event->accept();
        return;
    }
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        if (ShownItemIndex() >= 0)
            emit EntryChosen(ShownItemIndex());
        event->accept();
        return;
    }
    if (event->text() == QLatin1String("/") && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        emit FindAsked();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void TOECheckListBox::mousePressEvent(QMouseEvent *event)
{
    int entry = -1;
    releaseBelongsToCheckBox_ = event->button() == Qt::LeftButton && IsOnCheckBox(event->position().toPoint(), &entry);
    if (releaseBelongsToCheckBox_) {
        ToggleMark(entry);
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void TOECheckListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (releaseBelongsToCheckBox_) {
        releaseBelongsToCheckBox_ = false;
        event->accept();
        return;
    }
    QListView::mouseReleaseEvent(event);
}

void TOECheckListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second click of a double click on a check box is a click of its own.
    int entry = -1;
    if (event->button() != Qt::LeftButton || IsOnCheckBox(event->position().toPoint(), &entry)
        || !indexAt(event->position().toPoint()).isValid()) {
        mousePressEvent(event);
        return;
    }
    SetItemIndex(model_->EntryAt(indexAt(event->position().toPoint()).row()));
    event->accept();
    emit EntryChosen(ItemIndex());
}

void TOECheckListBox::dropEvent(QDropEvent *event)
{
    const QModelIndex dragged = currentIndex();
    if (event->source() != this || !dragged.isValid()) {
        event->ignore();
        return;
    }
    const QModelIndex at = indexAt(event->position().toPoint());
    int row = ShownCount();
    if (at.isValid())
        row = dropIndicatorPosition() == QAbstractItemView::BelowItem ? at.row() + 1 : at.row();
    const int before = row < ShownCount() ? model_->EntryAt(row) : Count();
    // Copy, not move: a move would have the view remove the dragged row from the model.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    emit EntryDragged(model_->EntryAt(dragged.row()), before);
}

bool TOECheckListBox::IsOnCheckBox(const QPoint &position, int *entry) const
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid())
        return false;
    *entry = model_->EntryAt(index.row());
    return TCheckListDelegate::CheckBoxRect(visualRect(index)).contains(position);
}

void TOECheckListBox::ToggleMark(int row)
{
    SetChecked(row, !Checked(row));
}
