#pragma once

#include <QString>

class TFileDialog;

// Every box and dialog the player shows goes through here, so that tests can script the
// answers and read the texts.
class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;

    // An operation's message: the text, one OK button, no icon.
    virtual void ShowMessage(const QString &text) = 0;
    // The default error report: the text with a stop icon and one OK button.
    virtual void ShowError(const QString &text) = 0;
    // A confirmation with the buttons Yes and No; true for Yes.
    virtual bool Confirm(const QString &caption, const QString &question) = 0;
    // Shows the dialog modally and fills in the user's choice; false when cancelled.
    virtual bool RunFileDialog(TFileDialog &dialog) = 0;
};
