#pragma once

#include "TScriptedDialogs.h"
#include "TTempFolder.h"
#include "errorreport/TOstrelApplication.h"
#include "window/TFormMediaPlayer.h"

#include <QDir>
#include <gtest/gtest.h>

// Each test gets scripted dialogs and its own empty start folder.
class TFormFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + "/config"));
        TOstrelApplication::Instance().SetDialogs(dialogs);
    }
    void TearDown() override
    {
        QDir::setCurrent(previousFolder);
        qunsetenv("XDG_CONFIG_HOME");
    }

    TScriptedDialogs dialogs;
    TTempFolder folder;
    QString previousFolder;
};
