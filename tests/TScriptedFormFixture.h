#pragma once

#include "TFormFixture.h"
#include "TListMarks.h"
#include "TScriptedBackEnd.h"
#include "controls/TOECheckListBox.h"

// A main window over the scripted back end, created anew for each test, with the message
// of the missing list file at start-up cleared.
class TScriptedFormFixture : public TFormFixture {
protected:
    void SetUp() override
    {
        TFormFixture::SetUp();
        auto backEnd = std::make_unique<TScriptedBackEnd>(device);
        scripted = backEnd.get();
        form = CreateFormMediaPlayer(std::move(backEnd));
        dialogs.Messages.clear();
    }

    // Entries as the user's Add puts them: into the list and the random pool.
    void Fill(const QList<QByteArray> &texts)
    {
        form->lbFiles->Append(texts);
        form->RandomPool().Append(texts);
    }
    QList<bool> Marks() const { return ListMarks(form->lbFiles->MediaEntries()); }
    int MarkCount() const { return int(Marks().count(true)); }

    TScriptedBackEnd::TState device;
    TScriptedBackEnd *scripted = nullptr; // owned by the form's device
    std::unique_ptr<TFormMediaPlayer> form;
};
