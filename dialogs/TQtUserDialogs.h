#pragma once

#include "dialogs/TUserDialogs.h"

// The user-dialog seam on Qt's message boxes and file dialogs.
class TQtUserDialogs : public TUserDialogs {
public:
    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    bool Confirm(const QString &caption, const QString &question) override;
    bool RunFileDialog(TFileDialog &dialog) override;
};
