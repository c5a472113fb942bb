#include "window/WindowValues.h"

#include "about/OEMPConst.h"
#include "medialist/ByteText.h"
#include "registry/OERegistry.h"

#include <QStringList>
#include <algorithm>
#include <limits>

namespace {

const char *const ValueName = "Volume";

QString WindowKey()
{
    return QString::fromLatin1(OEMPConst::ProductRegistryKey) + QStringLiteral("\\Window");
}

} // namespace

namespace StoredVolume {

std::optional<int> Read()
{
    // A value that is missing or of another type reads as the default, which no volume is.
    constexpr int32_t NoneStored = std::numeric_limits<int32_t>::min();
    const int32_t stored
        = ReadRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(ValueName), TRegistryValue::Integer(NoneStored))
              .AsInteger();
    if (stored == NoneStored)
        return std::nullopt;
    return std::clamp(stored, 0, 100);
}

void Write(int percent)
{
    WriteRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(ValueName),
                  TRegistryValue::Integer(std::clamp(percent, 0, 100)));
}

} // namespace StoredVolume

namespace StoredOption {

bool Read(const char *name)
{
    return ReadRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(name), TRegistryValue::Integer(0)).AsInteger()
        == 1;
}

void Write(const char *name, bool on)
{
    WriteRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(name), TRegistryValue::Integer(on ? 1 : 0));
}

} // namespace StoredOption

TResumePoint TResumePoint::Read()
{
    const auto value = [](const char *name, const TRegistryValue &otherwise) {
        return ReadRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(name), otherwise);
    };
    TResumePoint point;
    point.Entry = TextBytes(value("ResumeEntry", TRegistryValue::Text(QString())).AsText());
    point.Position = std::max(value("ResumePosition", TRegistryValue::Integer(0)).AsInteger(), 0);
    point.Paused = value("ResumePaused", TRegistryValue::Integer(0)).AsInteger() == 1;
    return point;
}

void TResumePoint::Write() const
{
    WriteRegistryValues(HKEY_CURRENT_USER, WindowKey(),
                        {{QStringLiteral("ResumeEntry"), TRegistryValue::Text(ByteText(Entry))},
                         {QStringLiteral("ResumePosition"), TRegistryValue::Integer(Position)},
                         {QStringLiteral("ResumePaused"), TRegistryValue::Integer(Paused ? 1 : 0)}});
}

TStoredQueue TStoredQueue::Read()
{
    const auto text = [](const char *name) {
        return ReadRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(name), TRegistryValue::Text(QString()))
            .AsText();
    };
    TStoredQueue queue;
    queue.ListFile = text("QueueList");
    const QStringList rows = text("QueueRows").split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QByteArray entries = TextBytes(text("QueueEntries"));
    queue.Entries = entries.isEmpty() ? QList<QByteArray>() : entries.split('\n');
    for (const QString &row : rows) {
        bool number = false;
        const int value = row.toInt(&number);
        queue.Rows.push_back(number ? value : -1);
    }
    if (queue.Rows.size() != size_t(queue.Entries.size()))
        return {};
    return queue;
}

void TStoredQueue::Write() const
{
    QStringList rows;
    for (const int row : Rows)
        rows << QString::number(row);
    WriteRegistryValues(HKEY_CURRENT_USER, WindowKey(),
                        {{QStringLiteral("QueueList"), TRegistryValue::Text(ListFile)},
                         {QStringLiteral("QueueRows"), TRegistryValue::Text(rows.join(QLatin1Char(',')))},
                         {QStringLiteral("QueueEntries"), TRegistryValue::Text(ByteText(Entries.join('\n')))}});
}
