#pragma once

#include "TQuietDialogs.h"
#include "errorreport/TOstrelApplication.h"

#include <QFile>
#include <QTemporaryDir>

// What a benchmark of the window needs on Qt's offscreen platform: the application, boxes
// written to standard error, and a work folder holding the benchmark's own settings.
class TOffscreenBench {
public:
    TOffscreenBench(int &argc, char **argv) : application_(Offscreen(argc), argv)
    {
        application_.SetDialogs(dialogs_);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Work.path() + "/config"));
    }

    QTemporaryDir Work;

private:
    // Chosen before the application is made, which reads it.
    static int &Offscreen(int &argc)
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }

    TOstrelApplication application_;
    TQuietDialogs dialogs_;
};
