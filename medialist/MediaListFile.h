#pragma once

#include <QString>
#include <cstdint>

class TMediaEntries;

// A media list's entries in a list file, in the format its list type selects: 1 the OML
// format with the played marks, 2 to 4 a plain list of names; any other type has no format,
// so nothing is read or written. Failures raise EInOutError or EFileStreamError.
namespace MediaListFile {

// Replaces the entries with those of the file. After a failed open the list is empty.
void Load(uint8_t listType, const QString &fileName, TMediaEntries &entries);
void Save(uint8_t listType, const QString &fileName, const TMediaEntries &entries);

void LoadOml(const QString &fileName, TMediaEntries &entries);
void SaveOml(const QString &fileName, const TMediaEntries &entries);

} // namespace MediaListFile
