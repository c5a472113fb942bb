// Writes the desktop entry and the metainfo from their templates, with the media types of the
// player's one table in place of @MIME_TYPES@ (the entry's list) and @MEDIA_TYPES@ (the
// metainfo's lines), so that the desktop offers the player for exactly what it opens.
// Usage: ostrel_desktop_files TEMPLATE OUTPUT

#include "medialist/MediaTypes.h"

#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TEMPLATE OUTPUT\n", argv[0]);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    QByteArray text = in.readAll();
    QByteArray entryList;
    QByteArray metainfoLines;
    for (const QString &type : MediaMimeTypes()) {
        entryList += type.toLatin1() + ';';
        metainfoLines += "    <mediatype>" + type.toLatin1() + "</mediatype>\n";
    }
    metainfoLines.chop(1);
    text.replace("@MIME_TYPES@", entryList).replace("@MEDIA_TYPES@", metainfoLines);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
