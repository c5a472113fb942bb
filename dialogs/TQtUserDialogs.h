#pragma once

#include "dialogs/TUserDialogs.h"

#include <QPointer>
#include <QWidget>

// The user-dialog seam on Qt's message boxes and file dialogs. Each box belongs to the box
// or dialog it was opened from, else to the main window: a window manager keeps it above that
// window (transient for it) and a Wayland compositor places it as its child.
class TQtUserDialogs : public TUserDialogs {
public:
    void SetMainWindow(QWidget *window) { mainWindow_ = window; }

    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    bool Confirm(const QString &caption, const QString &question) override;
    bool RunFileDialog(TFileDialog &dialog) override;

private:
    QWidget *Owner() const;

    QPointer<QWidget> mainWindow_;
};
