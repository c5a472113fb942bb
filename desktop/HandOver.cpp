#include "desktop/HandOver.h"

#include "medialist/ByteText.h"
#include "medialist/CurrentFolder.h"
#include "medialist/FileUri.h"
#include "medialist/ListFormats.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr qsizetype MostLinesShown = 12;
constexpr qsizetype LongestNameShown = 160;

const QString NoSuchFile = QStringLiteral("no such file or folder");

void Add(THandOver &handOver, const QByteArray &shown, const QByteArray &path)
{
    if (!ListFormats::CanHoldName(path))
        return;
    struct stat info { };
    if (::stat(path.constData(), &info) != 0) {
        handOver.Refused << RefusalLine(
            shown,
            errno == ENOENT || errno == ENOTDIR ? NoSuchFile : QString::fromLocal8Bit(std::strerror(errno)).toLower());
    } else if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
        handOver.Items.append({path, S_ISDIR(info.st_mode)});
    } else {
        handOver.Refused << RefusalLine(shown, QStringLiteral("not a regular file or folder"));
    }
}

} // namespace

THandOver HandOverOf(const QList<QByteArray> &names, const QByteArray &workingFolder)
{
    THandOver handOver;
    for (const QByteArray &name : names) {
        if (name.isEmpty()) {
            handOver.Refused << RefusalLine(name, NoSuchFile);
            continue;
        }
        if (!IsUri(name)) {
            Add(handOver, name, ResolvedPathBytes(workingFolder, name));
            continue;
        }
        QString reason;
        const QByteArray path = LocalPathOfUri(name, reason);
        if (reason.isEmpty())
            Add(handOver, name, path);
        else
            handOver.Refused << RefusalLine(name, reason);
    }
    return handOver;
}

QString RefusalLine(const QByteArray &name, const QString &reason)
{
    const auto shown = [](const QByteArray &bytes) { return DisplayedText(ByteText(bytes)); };
    QString line = name.size() <= LongestNameShown
        ? shown(name)
        : shown(name.left(LongestNameShown / 2)) + QChar(0x2026) + shown(name.right(LongestNameShown / 2));
    // A line break of the name must not break the line.
    line.replace(QLatin1Char('\n'), QChar(0x240A)).replace(QLatin1Char('\r'), QChar(0x240D));
    return line + QStringLiteral(": ") + reason;
}

QString RefusedMessage(const QStringList &refused)
{
    QString message = QStringLiteral("Not added to the media list:");
    for (const QString &line : refused.first(std::min(refused.size(), MostLinesShown)))
        message += QLatin1Char('\n') + line;
    if (refused.size() > MostLinesShown)
        message += QStringLiteral("\nand %1 more").arg(refused.size() - MostLinesShown);
    return message;
}
