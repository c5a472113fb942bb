#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Files and folders the desktop hands the player (names on the command line, file:// URIs
// from a launcher or a bus call, a drop), sorted out before the player takes them.
struct THandOver {
    struct TItem {
        QByteArray Path; // as given, a relative name made full; links are not resolved
        bool Folder = false;
        bool operator==(const TItem &) const = default;
    };
    // What can be added, in the order given.
    QList<TItem> Items;
    // One line for each name that cannot, saying why: "name: reason".
    QStringList Refused;
};

// Sorts out names and file:// URIs, a relative name taken against the working folder. A name
// a list file could not hold (a line break in it) is left out without a word, as Add does;
// a name of nothing that exists, of something neither a regular file nor a folder, or a URI
// of another scheme, another host, a query or a NUL byte is refused.
THandOver HandOverOf(const QList<QByteArray> &names, const QByteArray &workingFolder);

// The one message for everything refused: a line each, the first few of many.
QString RefusedMessage(const QStringList &refused);

// A refusal line for the name, shown as text.
QString RefusalLine(const QByteArray &name, const QString &reason);
