#pragma once

#include <QByteArray>
#include <QList>
#include <iterator>
#include <random>

// Paths of 80 bytes as a music library names them: artist, album and title folders of made-up
// words, the same ones at every run.
inline QList<QByteArray> LibraryPaths(int count)
{
    static const char *const syllables[] = {"al", "be", "ca", "do", "ed", "fi", "go", "ha", "in", "jo", "ka", "lu",
                                            "mo", "ne", "or", "pa", "qu", "ri", "st", "ar", "du", "ve", "wi", "xo"};
    std::mt19937 random(20261209);
    const auto name = [&](int parts) {
        QByteArray text;
        for (int i = 0; i < parts; ++i)
            text += syllables[random() % std::size(syllables)];
        text[0] = char(text[0] - 'a' + 'A');
        return text;
    };
    QList<QByteArray> paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        QByteArray path
            = "/home/user/Music/" + name(3) + '/' + name(3) + '/' + QByteArray::number(i % 20 + 1) + ' ' + name(4);
        path = path.left(75).leftJustified(75, 'x') + ".flac";
        paths << path;
    }
    return paths;
}
