#pragma once

#include "dialogs/TUserDialogs.h"

#include <QList>

// Stands in for the dialogs while the window is busy with work that must not be entered
// again: messages and error reports are held back, to be shown in their order once the
// work is done; a question is answered No and a dialog cancelled, since nothing may wait
// for the user meanwhile.
class TDeferredDialogs : public TUserDialogs {
public:
    void ShowMessage(const QString &text) override { held_.append({false, text}); }
    void ShowError(const QString &text) override { held_.append({true, text}); }
    bool Confirm(const QString &, const QString &) override { return false; }
    bool RunFileDialog(TFileDialog &) override { return false; }

    // Shows what was held back through the given dialogs, and forgets it.
    void Release(TUserDialogs &dialogs);

private:
    struct THeldBox {
        bool Error;
        QString Text;
    };
    QList<THeldBox> held_;
};
