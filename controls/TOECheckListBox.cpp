#include "TOECheckListBox.h"

#include "TCheckListDelegate.h"
#include "TRandomGenerator.h"
#include "TTextFile.h"

#include <QKeyEvent>
#include <QMouseEvent>

TOECheckListBox::TOECheckListBox(QWidget *parent)
    : QListView(parent), model_(new TMediaListModel(this))
{
    setModel(model_);
    setItemDelegate(new TCheckListDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(model_, &TMediaListModel::MarksChanged, this, &TOECheckListBox::RepaintRows);
}

TOECheckListBox::~TOECheckListBox() = default;

int TOECheckListBox::Count() const
{
    return model_->Count();
}

TOEListOrder TOECheckListBox::Order() const
{
    return TOEListOrder(order_);
}

void TOECheckListBox::SetOrder(TOEListOrder order)
{
    order_ = order;
}

void TOECheckListBox::StepForward()
{
    if (Count() > 0 && ItemIndex() < Count() - 1)
        SetItemIndex(ItemIndex() + 1);
}

void TOECheckListBox::StepBack()
{
    if (Count() > 0 && ItemIndex() > 0)
        SetItemIndex(ItemIndex() - 1);
}

void TOECheckListBox::StepRandom()
{
    try {
        if (drawPool_.IsEmpty())
            drawPool_.Append(Texts());
        const int drawn = int(ProgramRandom().Draw(uint32_t(drawPool_.Count())));
        const QByteArray text = drawPool_.At(drawn);
        drawPool_.RemoveAt(drawn);
        const int row = IndexOf(text);
        SetItemIndex(row);
        SetChecked(row, true);
    } catch (...) {
        // Stepping reports nothing, by design.
    }
}

void TOECheckListBox::SaveListFile(const QString &fileName)
{
    TTextFile file = TTextFile::ForWriting(fileName);
    ListFormats::WriteOmlPairs(file, Entries());
    file.Close();
}

void TOECheckListBox::LoadListFile(const QString &fileName)
{
    model_->Clear();
    TTextFile file = TTextFile::OpenForReading(fileName);
    AppendEntries(ListFormats::ReadOmlPairs(file));
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
    switch (order_) {
    case loNoOrder:
        break;
    case loPostOrder:
        StepBack();
        break;
    case loRandom:
        StepRandom();
        break;
    default:
        StepForward();
        break;
    }
}

void TOECheckListBox::ClearList()
{
    model_->Clear();
    drawPool_.Clear();
}

int TOECheckListBox::ItemIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TOECheckListBox::SetItemIndex(int index)
{
    if (index < 0 || index >= Count()) {
        setCurrentIndex(QModelIndex());
        clearSelection();
        return;
    }
    const QModelIndex target = model_->index(index);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

QByteArray TOECheckListBox::Text(int index) const
{
    return model_->Text(index);
}

bool TOECheckListBox::Checked(int index) const
{
    return model_->Checked(index);
}

void TOECheckListBox::SetChecked(int index, bool checked)
{
    model_->SetChecked(index, checked);
}

void TOECheckListBox::SetAllChecked(bool checked)
{
    model_->SetAllChecked(checked);
}

int TOECheckListBox::Append(const QByteArray &text)
{
    return model_->Append(text);
}

void TOECheckListBox::Append(const QList<QByteArray> &texts)
{
    model_->Append(texts);
}

void TOECheckListBox::AppendEntries(const QList<TListEntry> &entries)
{
    model_->AppendEntries(entries);
}

QList<TListEntry> TOECheckListBox::Entries() const
{
    return model_->Entries();
}

void TOECheckListBox::Delete(int index)
{
    model_->RemoveAt(index);
}

int TOECheckListBox::IndexOf(const QByteArray &text) const
{
    return model_->IndexOf(text);
}

QList<QByteArray> TOECheckListBox::Texts() const
{
    QList<QByteArray> texts;
    texts.reserve(Count());
    for (int row = 0; row < Count(); ++row)
        texts.append(model_->Text(row));
    return texts;
}

void TOECheckListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (ItemIndex() >= 0)
            ToggleMark(ItemIndex());
        event->accept();
        return;
    }
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        if (ItemIndex() >= 0)
            emit EntryChosen(ItemIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void TOECheckListBox::mousePressEvent(QMouseEvent *event)
{
    int row = -1;
    releaseBelongsToCheckBox_ = event->button() == Qt::LeftButton && IsOnCheckBox(event->position().toPoint(), &row);
    if (releaseBelongsToCheckBox_) {
        ToggleMark(row);
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
    int row = -1;
    if (event->button() != Qt::LeftButton || IsOnCheckBox(event->position().toPoint(), &row)
        || !indexAt(event->position().toPoint()).isValid()) {
        mousePressEvent(event);
        return;
    }
    SetItemIndex(indexAt(event->position().toPoint()).row());
    event->accept();
    emit EntryChosen(ItemIndex());
}

bool TOECheckListBox::IsOnCheckBox(const QPoint &position, int *row) const
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid())
        return false;
    *row = index.row();
    return TCheckListDelegate::CheckBoxRect(visualRect(index)).contains(position);
}

void TOECheckListBox::RepaintRows(int first, int last)
{
    const QRect top = visualRect(model_->index(first));
    const QRect bottom = visualRect(model_->index(last));
    const QRect changed = top.united(bottom).intersected(viewport()->rect());
    if (!changed.isEmpty())
        viewport()->update(changed);
}

void TOECheckListBox::ToggleMark(int row)
{
    SetChecked(row, !Checked(row));
}
