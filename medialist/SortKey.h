#pragma once

#include <QByteArrayView>
#include <string>

// Texts as a person reads them in order: letter case and accents ignored (as the find bar
// folds them), and each run of digits by its value, so that "2" comes before "10". Keys
// compare as plain bytes.
namespace SortKey {

// Replaces key with the text's key; scratch is a buffer of the caller's, kept between calls.
void Make(QByteArrayView text, std::string &key, std::string &scratch);
// The text after its last "/": what a list shows as a file's name.
QByteArrayView FileName(QByteArrayView path);

} // namespace SortKey
