#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

// The command line of ostrel-reg, which shows and changes the registry store the way the
// Windows reg command does: query, add and delete. Returns the process's exit code.
// `confirm` asks the user a Yes/No question and answers true for Yes.
int RunRegTool(const QStringList &arguments, QTextStream &out, QTextStream &err,
               const std::function<bool(const QString &question)> &confirm);
