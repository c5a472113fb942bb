#pragma once

#include <QString>

// The twelve settings the player keeps in the registry between runs, under its product key.
struct TPlayerSettings {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int FileExtension = 1;
    bool InOrder = true;
    bool Random = false;
    bool AutoSave = true;
    bool BlackMediaList = true;
    QString DefaultFile;
    int PlayOrder = 0;
    int ItemIndex = -1;

    // Each value as stored, or as in the given settings where the store holds none or one that
    // does not convert; the store is opened once.
    static TPlayerSettings Read(const TPlayerSettings &current);
    // All twelve in one transaction: a store shared with another player never holds half of them.
    void Write() const;
    // Only the AutoSave value: kept when the user toggles it, even when nothing else is saved.
    static void WriteAutoSave(bool on);

    bool operator==(const TPlayerSettings &) const = default;
};
