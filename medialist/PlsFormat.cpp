#include "medialist/PlsFormat.h"

#include "medialist/ListMemory.h"
#include "medialist/PlaylistLines.h"
#include "medialist/PlaylistSource.h"

#include <algorithm>
#include <map>
#include <utility>
#include <limits>
#include <optional>
#include <unordered_set>
#include <vector>

namespace {

// One line of the file with its line end; an item's line also with its key and number.
struct TPlsLine {
    qsizetype Begin;
    qsizetype ContentEnd; // where its line end begins
    qsizetype End;        // after its line end
    qsizetype Digits;    // where the number of an item's key begins, and
    qsizetype DigitsEnd; // ends
    std::optional<quint64> Number;
    bool File;           // a FileN line, else TitleN or LengthN where numbered
    bool Count;          // NumberOfEntries
};

std::optional<quint64> NumberAfter(QByteArrayView key, qsizetype letters)
{
    quint64 number = 0;
    if (key.size() <= letters)
        return std::nullopt;
    for (const char c : key.sliced(letters)) {
        if (c < '0' || c > '9' || number > (std::numeric_limits<quint64>::max() - 9) / 10)
            return std::nullopt;
        number = number * 10 + quint64(c - '0');
    }
    return number;
}

// N of a "FileN" key; none for any other key, or a number too large to be one.
std::optional<quint64> FileNumber(QByteArrayView key)
{
    if (key.size() <= 4 || key.first(4).compare("file", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return NumberAfter(key, 4);
}

// The lines after the byte order mark, if any.
std::vector<TPlsLine> LinesOf(QByteArrayView bytes)
{
    std::vector<TPlsLine> lines;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size()) {
        qsizetype stop = start;
        while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n')
            ++stop;
        TPlsLine line{start, stop, AfterLineEnd(bytes, stop), 0, 0, std::nullopt, false, false};
        const QByteArrayView text = bytes.sliced(start, stop - start);
        const qsizetype equals = text.indexOf('=');
        if (equals > 0) {
            const QByteArrayView key = text.first(equals).trimmed();
            const qsizetype keyStart = key.data() - bytes.data();
            for (const QByteArrayView letters : {QByteArrayView("file"), QByteArrayView("title"), QByteArrayView("length")})
                if (key.size() > letters.size() && key.first(letters.size()).compare(letters, Qt::CaseInsensitive) == 0)
                    if ((line.Number = NumberAfter(key, letters.size()))) {
                        line.Digits = keyStart + letters.size();
                        line.DigitsEnd = keyStart + key.size();
                        line.File = letters == "file";
                        break;
                    }
            line.Count = key.compare("numberofentries", Qt::CaseInsensitive) == 0;
            if (line.Count)
                line.Digits = equals + 1 + start;
        }
        lines.push_back(line);
        start = line.End;
    }
    return lines;
}

struct TNumbered {
    quint64 Number;
    QByteArrayView Location;
    qsizetype Line;
};

} // namespace

namespace PlsFormat {

TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath)
{
    const ListMemory::TLoadBudget budget(bytes.size());
    std::vector<TNumbered> files;
    ForEachPlaylistLine(bytes, [&](QByteArrayView line) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            return;
        const std::optional<quint64> number = FileNumber(line.first(equals).trimmed());
        QByteArrayView location = line.sliced(equals + 1);
        while (location.startsWith(' ') || location.startsWith('\t'))
            location = location.sliced(1); // "File1= name"; a name may end in a blank
        if (number && !location.isEmpty()) {
            files.push_back({*number, location, line.data() - bytes.constData()});
            budget.Check(qsizetype(files.size()));
        }
    });
    std::stable_sort(files.begin(), files.end(),
                     [](const TNumbered &a, const TNumbered &b) { return a.Number < b.Number; });
    const QByteArray folder = PlaylistFolder(playlistPath);
    TPlaylist playlist;
    for (const TNumbered &file : files) {
        const qsizetype before = playlist.Entries.size();
        playlist.Add(file.Location, folder);
        playlist.Items.push_back({file.Number, playlist.Entries.size() > before ? int(before) : -1, file.Line});
    }
    return playlist;
}

} // namespace PlsFormat

namespace PlsFormat {

QByteArray Rewritten(const TPlaylistSource &source, const std::vector<TPlaylistSource::TStep> &steps,
                     const std::function<QByteArrayView(int row)> &rowText)
{
    const QByteArray &bytes = source.Bytes();
    const QByteArrayView lineEnd = LineEndOf(bytes);
    const std::vector<TPlsLine> lines = LinesOf(bytes);
    // Each item's own FileN line; the Title and Length lines of a number go with the first item
    // of that number.
    std::map<qsizetype, size_t> lineAt;
    std::multimap<quint64, size_t> detailsOf;
    for (size_t line = 0; line < lines.size(); ++line) {
        if (lines[line].File)
            lineAt.emplace(lines[line].Begin, line);
        else if (lines[line].Number)
            detailsOf.emplace(*lines[line].Number, line);
    }
    std::vector<const TPlsItem *> itemOfEntry;
    std::vector<const TPlsItem *> keptItems;
    for (const TPlsItem &item : source.Items()) {
        if (item.Entry < 0) {
            keptItems.push_back(&item);
        } else {
            itemOfEntry.resize(std::max(itemOfEntry.size(), size_t(item.Entry) + 1));
            itemOfEntry[size_t(item.Entry)] = &item;
        }
    }
    QByteArray out = bytes.startsWith("\xEF\xBB\xBF") ? bytes.first(3) : QByteArray();
    out.reserve(bytes.size());
    const auto endLine = [&] {
        if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r') && out != "\xEF\xBB\xBF")
            out.append(lineEnd);
    };
    const auto putLine = [&](const TPlsLine &line, const QByteArray &number) {
        endLine();
        out.append(QByteArrayView(bytes).sliced(line.Begin, line.Digits - line.Begin)).append(number);
        out.append(QByteArrayView(bytes).sliced(line.DigitsEnd, line.End - line.DigitsEnd));
    };
    std::unordered_set<quint64> detailed; // numbers whose Title and Length lines were put
    const auto putItems = [&] {
        quint64 number = 0;
        for (const TPlaylistSource::TStep &step : steps) {
            const QByteArray renumbered = QByteArray::number(++number);
            if (step.Kind == TPlaylistSource::TStep::Fresh) {
                endLine();
                out.append("File" + renumbered + '=').append(rowText(step.Index)).append(lineEnd);
                continue;
            }
            const TPlsItem &item = step.Kind == TPlaylistSource::TStep::Kept ? *keptItems[size_t(step.Index)]
                                                                             : *itemOfEntry[size_t(step.Index)];
            if (const auto file = lineAt.find(item.Line); file != lineAt.end())
                putLine(lines[file->second], renumbered);
            if (!detailed.insert(item.Number).second)
                continue;
            const auto [first, last] = detailsOf.equal_range(item.Number);
            for (auto at = first; at != last; ++at)
                putLine(lines[at->second], renumbered);
        }
    };
    const bool anyItem = std::any_of(lines.begin(), lines.end(), [](const TPlsLine &line) { return bool(line.Number); });
    bool itemsPut = false;
    for (const TPlsLine &line : lines) {
        const QByteArrayView text = QByteArrayView(bytes).sliced(line.Begin, line.End - line.Begin);
        if (line.Number) {
            if (!std::exchange(itemsPut, true))
                putItems();
            continue;
        }
        endLine();
        if (line.Count)
            out.append(text.first(line.Digits - line.Begin))
                .append(QByteArray::number(qsizetype(steps.size())))
                .append(text.sliced(line.ContentEnd - line.Begin));
        else
            out.append(text);
        if (!anyItem && !itemsPut && text.trimmed().compare("[playlist]", Qt::CaseInsensitive) == 0) {
            itemsPut = true;
            putItems();
        }
    }
    if (!itemsPut)
        putItems();
    return out;
}

} // namespace PlsFormat
