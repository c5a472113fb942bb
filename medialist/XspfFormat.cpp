#include "medialist/XspfFormat.h"

#include "medialist/ListMemory.h"
#include "medialist/PlaylistLines.h"

#include <QByteArrayView>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Where in the document the reader stands, as far as the locations are concerned.
enum TLevel { Outside, InPlaylist, InTrackList, InTrack, InLocation };

const char *const LevelNames[] = {"playlist", "trackList", "track", "location"};

// A location as a URI reference: file:// URIs decoded by the player's URI rules, other
// references (relative or absolute names) percent-decoded.
QByteArray LocationBytes(const QByteArray &location)
{
    const QByteArray trimmed = location.trimmed();
    return IsUri(trimmed) ? trimmed : QByteArray::fromPercentEncoding(trimmed);
}

// The document's XML read straight from its UTF-8 bytes, as much of it as a playlist uses:
// elements, their text with the five named and the numeric character references, CDATA,
// comments and processing instructions. A document type declaration is where reading stops,
// so that no entity is ever declared, expanded or fetched.
class TXspfScanner {
public:
    TXspfScanner(QByteArrayView bytes, const QByteArray &playlistPath, TPlaylist &playlist)
        : text_(bytes), path_(playlistPath), folder_(PlaylistFolder(playlistPath)), playlist_(playlist),
          budget_(bytes.size())
    {
    }

    void Read()
    {
        while (at_ < text_.size()) {
            const qsizetype open = text_.indexOf('<', at_);
            const qsizetype end = open < 0 ? text_.size() : open;
            if (level_ == InLocation && !Decode(text_.sliced(at_, end - at_)))
                return;
            at_ = end;
            if (open >= 0 && !Markup())
                return;
        }
        if (!open_.empty())
            Stop(QStringLiteral("the document ends before </%1>").arg(QString::fromUtf8(open_.back())));
    }

private:
    // The markup at the current "<"; false once reading has stopped.
    bool Markup()
    {
        const QByteArrayView rest = text_.sliced(at_);
        if (rest.startsWith("<!--"))
            return Skip("-->");
        if (rest.startsWith("<?"))
            return Skip("?>");
        if (rest.startsWith("<![CDATA[")) {
            const qsizetype end = text_.indexOf("]]>", at_ + 9);
            if (end < 0)
                return Stop(QStringLiteral("a CDATA section is not closed"));
            if (level_ == InLocation)
                location_.append(text_.sliced(at_ + 9, end - at_ - 9));
            at_ = end + 3;
            return true;
        }
        if (rest.startsWith("<!DOCTYPE") || rest.startsWith("<!")) {
            playlist_.LeaveOut(path_, QStringLiteral("not read past its document type declaration"));
            playlist_.ReadWhole = false;
            return false;
        }
        const bool closing = rest.startsWith("</");
        const qsizetype end = TagEnd(at_ + 1);
        if (end < 0)
            return Stop(QStringLiteral("a tag is not closed"));
        const QByteArrayView tag = text_.sliced(at_ + (closing ? 2 : 1), end - at_ - (closing ? 2 : 1));
        tagStart_ = at_;
        at_ = end + 1;
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && !IsBlank(tag[nameEnd]) && tag[nameEnd] != '/')
            ++nameEnd;
        const QByteArrayView name = tag.first(nameEnd);
        if (name.isEmpty())
            return Stop(QStringLiteral("a tag has no name"));
        if (closing)
            return Close(name);
        open_.push_back(name);
        if (level_ < InLocation && LocalName(name) == LevelNames[level_])
            Enter();
        else
            ++skipped_;
        return tag.endsWith('/') ? Close(name) : true;
    }

    bool Close(QByteArrayView name)
    {
        if (open_.empty() || open_.back() != name)
            return Stop(QStringLiteral("</%1> closes no open element").arg(QString::fromUtf8(name)));
        open_.pop_back();
        if (skipped_ > 0) {
            --skipped_;
            return true;
        }
        if (level_ == InLocation) {
            if (const QByteArray location = LocationBytes(location_); !location.isEmpty()) {
                playlist_.Add(location, folder_);
                budget_.Check(playlist_.Entries.size());
            }
            location_.clear();
        }
        if (level_ == InTrack)
            EndTrack();
        --level_;
        return true;
    }

    void Enter()
    {
        if (skipped_ != 0) {
            ++skipped_; // inside an element of no interest everything is of none
            return;
        }
        if (++level_ == InTrack) {
            trackStart_ = tagStart_;
            trackEntries_ = playlist_.Entries.size();
        }
    }

    // The track's element is the piece of its first entry, with the blanks before it on its
    // line and the line end after it.
    void EndTrack()
    {
        qsizetype begin = trackStart_;
        while (begin > 0 && (text_[begin - 1] == ' ' || text_[begin - 1] == '\t'))
            --begin;
        if (begin > 0 && text_[begin - 1] != '\n' && text_[begin - 1] != '\r')
            begin = trackStart_;
        qsizetype end = at_;
        while (end < text_.size() && (text_[end] == ' ' || text_[end] == '\t'))
            ++end;
        end = end < text_.size() && (text_[end] == '\n' || text_[end] == '\r') ? AfterLineEnd(text_, end) : at_;
        for (qsizetype entry = trackEntries_; entry < playlist_.Entries.size(); ++entry) {
            playlist_.Pieces.push_back(entry == trackEntries_ ? TPlaylistPiece{begin, end} : TPlaylistPiece{end, end});
        }
    }

    // Appends the text with its references replaced; a reference that names nothing stops.
    bool Decode(QByteArrayView part)
    {
        if (skipped_ > 0)
            return true;
        for (qsizetype i = 0; i < part.size();) {
            const qsizetype amp = part.indexOf('&', i);
            if (amp < 0) {
                location_.append(part.sliced(i));
                break;
            }
            location_.append(part.sliced(i, amp - i));
            const qsizetype semi = part.indexOf(';', amp);
            const std::optional<QByteArray> character
                = semi < 0 ? std::nullopt : Reference(part.sliced(amp + 1, semi - amp - 1));
            if (!character)
                return Stop(QStringLiteral("an entity reference names nothing known"));
            location_.append(*character);
            i = semi + 1;
        }
        return true;
    }

    static std::optional<QByteArray> Reference(QByteArrayView name)
    {
        if (name == "amp")
            return QByteArray("&");
        if (name == "lt")
            return QByteArray("<");
        if (name == "gt")
            return QByteArray(">");
        if (name == "quot")
            return QByteArray("\"");
        if (name == "apos")
            return QByteArray("'");
        if (!name.startsWith('#') || name.size() < 2 || name.size() > 9)
            return std::nullopt;
        bool valid = false;
        const bool hex = name[1] == 'x';
        const uint code = name.sliced(hex ? 2 : 1).toUInt(&valid, hex ? 16 : 10);
        if (!valid || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return std::nullopt;
        const char32_t character = code;
        return QString::fromUcs4(&character, 1).toUtf8();
    }

    // The ">" that ends the tag begun before the position, outside quoted attribute values.
    qsizetype TagEnd(qsizetype from) const
    {
        char quote = 0;
        for (qsizetype i = from; i < text_.size(); ++i) {
            const char c = text_[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return i;
            } else if (c == '<') {
                return -1;
            }
        }
        return -1;
    }

    bool Skip(QByteArrayView end)
    {
        const qsizetype found = text_.indexOf(end, at_);
        if (found < 0)
            return Stop(QStringLiteral("the document ends inside a comment or instruction"));
        at_ = found + end.size();
        return true;
    }

    // Ends the reading, telling where.
    bool Stop(const QString &why)
    {
        const qsizetype line = text_.first(std::min(at_, text_.size())).count('\n') + 1;
        playlist_.LeaveOut(path_, QStringLiteral("not read past line %1 (%2)").arg(line).arg(why));
        playlist_.ReadWhole = false;
        return false;
    }

    static QByteArrayView LocalName(QByteArrayView name)
    {
        const qsizetype colon = name.indexOf(':');
        return colon < 0 ? name : name.sliced(colon + 1);
    }
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    QByteArrayView text_;
    const QByteArray &path_;
    QByteArray folder_;
    TPlaylist &playlist_;
    const ListMemory::TLoadBudget budget_;
    qsizetype at_ = 0;
    qsizetype tagStart_ = 0;
    qsizetype trackStart_ = 0;
    qsizetype trackEntries_ = 0; // entries before the open track's
    int level_ = Outside;
    int skipped_ = 0; // open elements of no interest, counted from the first
    std::vector<QByteArrayView> open_; // of the text, which outlives the reading
    QByteArray location_;
};

} // namespace

namespace XspfFormat {

TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath)
{
    TPlaylist playlist;
    TXspfScanner(bytes, playlistPath, playlist).Read();
    return playlist;
}

} // namespace XspfFormat
