#include "medialist/PlaylistRewrite.h"

#include "medialist/FileUri.h"
#include "medialist/PlaylistLines.h"
#include "medialist/PlaylistSource.h"
#include "medialist/PlsFormat.h"
#include "medialist/XspfFormat.h"

#include <vector>

namespace {

bool EndsLine(const QByteArray &text)
{
    return text.isEmpty() || text.endsWith('\n') || text.endsWith('\r');
}

// A row the file did not hold, as the format writes it.
QByteArray FreshPiece(const TPlaylistSource &source, QByteArrayView text, QByteArrayView lineEnd)
{
    if (source.Type() != TListType::Xspf)
        return text.toByteArray().append(lineEnd);
    QByteArray piece(XspfFormat::TWriter::Open.toByteArray());
    const qsizetype start = piece.size();
    piece.resize(start + FileUriPathSize(text));
    PutFileUriPath(piece.data() + start, text);
    return piece.append(XspfFormat::TWriter::Close.chopped(1)).append(lineEnd);
}

// M3U and XSPF: gap k lies before piece k, the last gap ends the file.
QByteArray PieceRewrite(const TPlaylistSource &source, const std::vector<TPlaylistSource::TStep> &steps,
                        const PlaylistRewrite::TRowText &rowText)
{
    const QByteArray &bytes = source.Bytes();
    const std::vector<TPlaylistPiece> &pieces = source.Pieces();
    const QByteArrayView lineEnd = LineEndOf(bytes);
    const bool lines = source.Type() == TListType::M3u; // an XSPF needs no line between its elements
    QByteArray out;
    out.reserve(bytes.size());
    const auto put = [&](QByteArrayView part, bool ownLine) {
        if (part.isEmpty())
            return;
        if (ownLine && !EndsLine(out))
            out.append(lineEnd); // a last line without its end is one no longer
        out.append(part);
    };
    for (const TPlaylistSource::TStep &step : steps) {
        switch (step.Kind) {
        case TPlaylistSource::TStep::Kept: {
            const qsizetype begin = step.Index == 0 ? 0 : pieces[size_t(step.Index) - 1].End;
            const qsizetype end = size_t(step.Index) == pieces.size() ? bytes.size() : pieces[size_t(step.Index)].Begin;
            put(QByteArrayView(bytes).sliced(begin, end - begin), lines);
            break;
        }
        case TPlaylistSource::TStep::Reused: {
            const TPlaylistPiece &piece = pieces[size_t(step.Index)];
            put(QByteArrayView(bytes).sliced(piece.Begin, piece.End - piece.Begin), lines);
            break;
        }
        case TPlaylistSource::TStep::Fresh:
            put(FreshPiece(source, rowText(step.Index), lineEnd), true);
            break;
        }
    }
    // A name that now opens the file must not be read as its byte order mark.
    constexpr QByteArrayView Bom("\xEF\xBB\xBF");
    if (lines && out.startsWith(Bom) && !bytes.startsWith(Bom))
        out.prepend(lineEnd);
    return out;
}

} // namespace

namespace PlaylistRewrite {

QByteArray Rewritten(const TPlaylistSource &source, int rows, const TRowText &rowText)
{
    std::vector<uint64_t> hashes;
    hashes.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row)
        hashes.push_back(TPlaylistSource::HashOf(rowText(row)));
    if (source.SameEntries(hashes))
        return source.Bytes();
    const std::vector<TPlaylistSource::TStep> steps = source.Steps(hashes);
    if (source.Type() == TListType::Pls)
        return PlsFormat::Rewritten(source, steps, rowText);
    return PieceRewrite(source, steps, rowText);
}

} // namespace PlaylistRewrite
