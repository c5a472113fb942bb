#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

class TPlaylistSource;

// Another player's playlist written again from the file it was read from (see
// TPlaylistSource): the file's own bytes where the rows are the entries as read, else the
// parts that are no entry kept, each row's piece reused where the file held it, and the other
// rows written as the format writes them, in the file's own line ends.
namespace PlaylistRewrite {

using TRowText = std::function<QByteArrayView(int row)>;

QByteArray Rewritten(const TPlaylistSource &source, int rows, const TRowText &rowText);

} // namespace PlaylistRewrite
