#include "dialogs/TDeferredDialogs.h"

#include <utility>

void TDeferredDialogs::Release(TUserDialogs &dialogs)
{
    const QList<THeldBox> boxes = std::exchange(held_, {});
    for (const THeldBox &box : boxes) {
        if (box.Error)
            dialogs.ShowError(box.Text);
        else
            dialogs.ShowMessage(box.Text);
    }
}
