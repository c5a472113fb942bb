#pragma once

#include "TFormFixture.h"
#include "TScriptedBackEnd.h"

// A main window over the scripted back end, created anew for each test, with the message
// of the missing list file at start-up cleared.
class TScriptedFormFixture : public TFormFixture {
protected:
    void SetUp() override
    {
        TFormFixture::SetUp();
        form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(device));
        dialogs.Messages.clear();
    }

    TScriptedBackEnd::TState device;
    std::unique_ptr<TFormMediaPlayer> form;
};
