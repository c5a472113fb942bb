#pragma once

#include <QString>

class TUserDialogs;

// A help request for a context number in the help file: the desktop opens the help file
// when there is one, and nothing happens otherwise. The file has no pages to address, so
// the context number only says where the request came from.
void ShowHelp(TUserDialogs &dialogs, const QString &helpFile, int helpContext);
