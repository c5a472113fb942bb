#pragma once

#include "medialist/ListType.h"

#include <QString>

class TListSnapshot;
class TMediaEntries;

// A media list's entries in a list file, in the format its list type selects: the OML format
// with the played marks, or a plain list of names; a type outside the four has no format, so
// nothing is read or written. Failures raise EInOutError or EFileStreamError.
namespace MediaListFile {

// Replaces the entries with those of the file. After a failed open the list is empty.
void Load(TListType listType, const QString &fileName, TMediaEntries &entries);
void Save(TListType listType, const QString &fileName, const TMediaEntries &entries);
// The same bytes, from the entries as they were when the snapshot was taken; on any thread.
void Save(TListType listType, const QString &fileName, const TListSnapshot &entries);

void LoadOml(const QString &fileName, TMediaEntries &entries);
void SaveOml(const QString &fileName, const TMediaEntries &entries);
void SaveOml(const QString &fileName, const TListSnapshot &entries);

} // namespace MediaListFile
