#pragma once

#include <QByteArrayView>
#include <string>

// Texts as the find bar compares them: letter case folded as the list's lookup folds it, accents
// and other combining marks dropped ("Beyoncé" as "beyonce"), bytes that are no UTF-8 as the
// list shows them (U+FFFD). The result is UTF-8.
namespace FindFold {

// Replaces out with the folded text; true when the text was ASCII, whose fold is its lowering.
bool Fold(QByteArrayView text, std::string &out);

} // namespace FindFold
