#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// file:// URIs as the desktop and other players' playlists give names, and as the player
// writes them: the path's bytes percent-encoded, whatever they are.

// "scheme://..." or "file:...": a URI rather than a name.
bool IsUri(QByteArrayView name);

// The local path a file URI names, its bytes as they were encoded; empty with the reason
// ("not a local file", "not a valid file name") when it names none: another scheme or host,
// a query or fragment, a NUL byte, no absolute path.
QByteArray LocalPathOfUri(const QByteArray &uri, QString &reason);

// The path of a file:// URI made from a path's bytes, every byte but the unreserved ones and
// "/" percent-encoded: how many bytes it takes, and the bytes put at the place given, which
// must have room for them; returns the place after them.
inline bool KeptInFileUri(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~' || c == '/';
}
inline qsizetype FileUriPathSize(QByteArrayView path)
{
    qsizetype size = 0;
    for (const char c : path)
        size += KeptInFileUri(c) ? 1 : 3;
    return size;
}
inline char *PutFileUriPath(char *at, QByteArrayView path)
{
    constexpr char Hex[] = "0123456789ABCDEF";
    for (const char c : path) {
        if (KeptInFileUri(c)) {
            *at++ = c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            *at++ = '%';
            *at++ = Hex[byte >> 4];
            *at++ = Hex[byte & 15];
        }
    }
    return at;
}
