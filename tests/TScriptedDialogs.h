#pragma once

#include "dialogs/TFileDialog.h"
#include "dialogs/TUserDialogs.h"

#include <QStringList>
#include <deque>
#include <functional>

// The user-dialog seam for tests: records every text shown and answers from a script.
class TScriptedDialogs : public TUserDialogs {
public:
    using TFileAnswer = std::function<bool(TFileDialog &dialog)>;

    void ShowMessage(const QString &text) override { Messages << text; }
    void ShowError(const QString &text) override { Errors << text; }
    bool Confirm(const QString &caption, const QString &question) override
    {
        Confirmations << caption + QLatin1Char('|') + question;
        const bool answer = ConfirmAnswers.empty() ? false : ConfirmAnswers.front();
        if (!ConfirmAnswers.empty())
            ConfirmAnswers.pop_front();
        return answer;
    }
    bool RunFileDialog(TFileDialog &dialog) override
    {
        ShownDialogs << dialog.Title;
        if (FileAnswers.empty())
            return false;
        TFileAnswer answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer(dialog);
    }

    QStringList Messages;
    QStringList Errors;
    QStringList Confirmations;
    QStringList ShownDialogs;
    std::deque<bool> ConfirmAnswers;
    std::deque<TFileAnswer> FileAnswers;
};
