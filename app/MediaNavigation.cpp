// The main window's way through the media list: in order with wrap-around, back, and at
// random from the random pool, one draw per entry in each cycle.

#include "TFormMediaPlayer.h"

#include "TOECheckListBox.h"
#include "TRandomGenerator.h"

#include <QAction>

QByteArray TFormMediaPlayer::NextEntry()
{
    if (lbFiles->Count() == 0)
        return {};
    const int current = lbFiles->ItemIndex();
    lbFiles->SetItemIndex(current < lbFiles->Count() - 1 ? current + 1 : 0);
    return lbFiles->Text(lbFiles->ItemIndex());
}

QByteArray TFormMediaPlayer::PreviousEntry()
{
    if (lbFiles->Count() == 0)
        return {};
    const int current = lbFiles->ItemIndex();
    lbFiles->SetItemIndex(current > 0 ? current - 1 : lbFiles->Count() - 1);
    return lbFiles->Text(lbFiles->ItemIndex());
}

QByteArray TFormMediaPlayer::RandomEntry()
{
    QByteArray result;
    try {
        TTextPool &pool = RandomPool();
        if (pool.IsEmpty()) {
            pool.Clear();
            pool.Append(lbFiles->Texts());
            lbFiles->SetAllChecked(false);
        }
        const int drawn = int(ProgramRandom().Draw(uint32_t(pool.Count())));
        const QByteArray text = pool.At(drawn);
        const int row = lbFiles->IndexOf(text);
        lbFiles->SetItemIndex(row);
        lbFiles->SetChecked(row, true);
        result = lbFiles->Text(row);
        pool.RemoveFirst(text);
    } catch (...) {
        // A draw reports nothing; the result is what was found before the error.
    }
    return result;
}

QByteArray TFormMediaPlayer::ChooseNext()
{
    if (miInOrder->isChecked())
        return NextEntry();
    if (miRandom->isChecked())
        return RandomEntry();
    return {};
}

QByteArray TFormMediaPlayer::ChoosePrevious()
{
    return PlayOrderValue() == 0 ? PreviousEntry() : QByteArray();
}
