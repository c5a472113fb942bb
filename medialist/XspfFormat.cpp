#include "medialist/XspfFormat.h"

#include "medialist/ListMemory.h"

#include <QXmlStreamReader>

namespace {

// Where in the document the reader stands, as far as the locations are concerned.
enum TLevel { Outside, InPlaylist, InTrackList, InTrack };

// A location as a URI reference: file:// URIs decoded by the player's URI rules, other
// references (relative or absolute names) percent-decoded.
QByteArray LocationBytes(const QString &location)
{
    const QByteArray encoded = location.trimmed().toUtf8();
    return IsUri(encoded) ? encoded : QByteArray::fromPercentEncoding(encoded);
}

} // namespace

namespace XspfFormat {

TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath)
{
    const ListMemory::TLoadBudget budget(bytes.size());
    const QByteArray folder = PlaylistFolder(playlistPath);
    TPlaylist playlist;
    QXmlStreamReader xml(bytes);
    int level = Outside;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            playlist.LeaveOut(playlistPath, QStringLiteral("not read past its document type declaration"));
            return playlist;
        }
        const QStringView name = xml.name();
        if (token == QXmlStreamReader::StartElement) {
            if ((level == Outside && name == u"playlist") || (level == InPlaylist && name == u"trackList")
                || (level == InTrackList && name == u"track")) {
                ++level;
            } else if (level == InTrack && name == u"location") {
                const QString location = xml.readElementText();
                if (xml.hasError())
                    break; // a location cut short names nothing
                playlist.Add(LocationBytes(location), folder);
                budget.Check(playlist.Entries.size());
            } else {
                xml.skipCurrentElement();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --level;
        }
    }
    if (xml.hasError())
        playlist.LeaveOut(playlistPath, QStringLiteral("not read past line %1 (%2)")
                                            .arg(xml.lineNumber())
                                            .arg(xml.errorString()));
    return playlist;
}

} // namespace XspfFormat
