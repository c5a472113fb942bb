#pragma once

#include "dialogs/TUserDialogs.h"

// For when no box can be shown any more (the display is gone): messages are dropped,
// questions answered No, dialogs cancelled.
class TSilentDialogs : public TUserDialogs {
public:
    void ShowMessage(const QString &) override {}
    void ShowError(const QString &) override {}
    bool Confirm(const QString &, const QString &) override { return false; }
    bool RunFileDialog(TFileDialog &) override { return false; }
};
