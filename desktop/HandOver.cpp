#include "desktop/HandOver.h"

#include "medialist/ByteText.h"
#include "medialist/CurrentFolder.h"
#include "medialist/ListFormats.h"

#include <QRegularExpression>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr qsizetype MostLinesShown = 12;
constexpr qsizetype LongestNameShown = 160;

const QString NotLocal = QStringLiteral("not a local file");
const QString NoSuchFile = QStringLiteral("no such file or folder");

// "scheme://..." or "file:...": a URI rather than a name.
bool IsUri(const QByteArray &name)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://|[Ff][Ii][Ll][Ee]:)"));
    return scheme.match(QString::fromLatin1(name.left(64))).hasMatch();
}

// The local path a file URI names, its bytes as they were encoded; a reason when it names none.
QByteArray LocalPath(const QByteArray &uri, QString &reason)
{
    const QUrl url = QUrl::fromEncoded(uri, QUrl::StrictMode).adjusted(QUrl::NormalizePathSegments);
    const QString host = url.host();
    const QString invalid = QStringLiteral("not a valid file name");
    if (!url.isValid()) {
        reason = invalid;
        return {};
    }
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0 || url.hasQuery() || url.hasFragment()
        || !(host.isEmpty() || host == QLatin1String("localhost"))) {
        reason = NotLocal;
        return {};
    }
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (path.isEmpty() || path.contains('\0') || !path.startsWith('/'))
        reason = invalid;
    return path;
}

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
        const QByteArray path = LocalPath(name, reason);
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
