#pragma once

#include "dialogs/TUserDialogs.h"

#include <cstdio>

// Benchmarks run unattended: boxes are written to standard error, dialogs are cancelled.
class TQuietDialogs : public TUserDialogs {
public:
    void ShowMessage(const QString &text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    void ShowError(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool Confirm(const QString &, const QString &) override { return false; }
    bool RunFileDialog(TFileDialog &) override { return false; }
};
