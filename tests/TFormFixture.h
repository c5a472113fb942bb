#pragma once

#include "TFormMediaPlayer.h"
#include "TOstrelApplication.h"
#include "TScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

    QString File(const QString &name) const { return folder.path() + QLatin1Char('/') + name; }
    void WriteFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(File(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadFile(const QString &name) const
    {
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    TScriptedDialogs dialogs;
    QTemporaryDir folder;
    QString previousFolder;
};
