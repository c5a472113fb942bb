#include "registry/OERegistry.h"

#include "medialist/ByteText.h"
#include "registry/TRegistryDatabase.h"

#include <optional>

#include <QtEndian>
#include <cstring>

namespace {

QByteArray LittleEndian32(uint32_t value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray EightBytes(const void *value)
{
    return QByteArray(static_cast<const char *>(value), 8);
}

// The stored bytes and data type of a value; REG_NONE for the empty kind.
TRawRegistryValue Stored(const QString &name, const TRegistryValue &value)
{
    switch (value.Kind()) {
    case TRegistryKind::Integer:
        return {name, REG_DWORD, LittleEndian32(uint32_t(value.AsInteger()))};
    case TRegistryKind::Boolean:
        return {name, REG_DWORD, LittleEndian32(value.AsBoolean() ? 1 : 0)};
    case TRegistryKind::Text:
        return {name, REG_SZ, TextBytes(value.AsText()) + '\0'};
    case TRegistryKind::Float: {
        const double real = value.AsFloat();
        return {name, REG_BINARY, EightBytes(&real)};
    }
    case TRegistryKind::DateTime: {
        const double real = value.AsDateTime();
        return {name, REG_BINARY, EightBytes(&real)};
    }
    case TRegistryKind::Currency: {
        const int64_t scaled = value.AsCurrency();
        return {name, REG_BINARY, EightBytes(&scaled)};
    }
    case TRegistryKind::Empty:
        break;
    }
    return {name, REG_NONE, {}};
}

template <typename T>
T FromEightBytes(const QByteArray &data)
{
    T value;
    std::memcpy(&value, data.constData(), sizeof value);
    return value;
}

// The stored value read as the default's kind, or the default when type or size differ.
TRegistryValue Converted(const TRawRegistryValue &stored, const TRegistryValue &defaultValue)
{
    const bool dword = stored.Type == REG_DWORD && stored.Data.size() == 4;
    const bool binary8 = stored.Type == REG_BINARY && stored.Data.size() == 8;
    switch (defaultValue.Kind()) {
    case TRegistryKind::Integer:
        if (dword)
            return TRegistryValue::Integer(int32_t(qFromLittleEndian<uint32_t>(stored.Data.constData())));
        break;
    case TRegistryKind::Boolean:
        if (dword)
            return TRegistryValue::Boolean(qFromLittleEndian<uint32_t>(stored.Data.constData()) != 0);
        break;
    case TRegistryKind::Text:
        if (stored.Type == REG_SZ || stored.Type == REG_EXPAND_SZ) {
            const qsizetype zero = stored.Data.indexOf('\0');
            return TRegistryValue::Text(ByteText(zero < 0 ? stored.Data : stored.Data.left(zero)));
        }
        break;
    case TRegistryKind::Float:
        if (binary8)
            return TRegistryValue::Float(FromEightBytes<double>(stored.Data));
        break;
    case TRegistryKind::DateTime:
        if (binary8)
            return TRegistryValue::DateTime(FromEightBytes<double>(stored.Data));
        break;
    case TRegistryKind::Currency:
        if (binary8)
            return TRegistryValue::Currency(FromEightBytes<int64_t>(stored.Data));
        break;
    case TRegistryKind::Empty:
        break;
    }
    return defaultValue;
}

} // namespace

TRegistryValue TRegistryValue::Integer(int32_t value)
{
    return {TRegistryKind::Integer, value, 0, {}};
}

TRegistryValue TRegistryValue::Float(double value)
{
    return {TRegistryKind::Float, 0, value, {}};
}

TRegistryValue TRegistryValue::Currency(int64_t scaled)
{
    return {TRegistryKind::Currency, scaled, 0, {}};
}

TRegistryValue TRegistryValue::DateTime(double value)
{
    return {TRegistryKind::DateTime, 0, value, {}};
}

TRegistryValue TRegistryValue::Text(const QString &value)
{
    return {TRegistryKind::Text, 0, 0, value};
}

TRegistryValue TRegistryValue::Boolean(bool value)
{
    return {TRegistryKind::Boolean, value ? 1 : 0, 0, {}};
}

void NormalizeRegistryPath(QString &keyPath, QString &valueName)
{
    if (!keyPath.isEmpty()) {
        if (keyPath.endsWith(QLatin1Char('\\')))
            keyPath.chop(1);
        if (keyPath.startsWith(QLatin1Char('\\')))
            keyPath.remove(0, 1);
    }
    for (int i = 0; i < 2 && valueName.startsWith(QLatin1Char('\\')); ++i)
        valueName.remove(0, 1);
}

TRegistryRoot EffectiveRegistryRoot(TRegistryRoot root)
{
    return root >= HKEY_CLASSES_ROOT && root <= HKEY_DYN_DATA ? root : HKEY_CURRENT_USER;
}

TRegistryReader::TRegistryReader()
{
    try {
        store_ = std::make_unique<TRegistryDatabase>(TRegistryDatabase::DefaultPath(), TRegistryDatabase::TOpenMode::ReadOnly);
    } catch (...) {
        // Every read then gives its default.
    }
}

TRegistryReader::~TRegistryReader() = default;

TRegistryValue TRegistryReader::Read(TRegistryRoot root, QString keyPath, QString valueName,
                                     const TRegistryValue &defaultValue) const
{
    try {
        NormalizeRegistryPath(keyPath, valueName);
        if (defaultValue.Kind() == TRegistryKind::Empty || !store_)
            return defaultValue;
        const std::optional<TRawRegistryValue> stored = store_->Value(EffectiveRegistryRoot(root), keyPath, valueName);
        return stored ? Converted(*stored, defaultValue) : defaultValue;
    } catch (...) {
        return defaultValue;
    }
}

TRegistryValue ReadRegistry(TRegistryRoot root, QString keyPath, QString valueName, const TRegistryValue &defaultValue)
{
    if (defaultValue.Kind() == TRegistryKind::Empty)
        return defaultValue; // without opening the store
    return TRegistryReader().Read(root, std::move(keyPath), std::move(valueName), defaultValue);
}

bool WriteRegistryValues(TRegistryRoot root, const QString &keyPath, const QList<TRegistryWrite> &values)
{
    try {
        TRegistryDatabase store(TRegistryDatabase::DefaultPath(), TRegistryDatabase::TOpenMode::CreateIfMissing);
        store.InOneTransaction([&] {
            for (const TRegistryWrite &write : values) {
                QString key = keyPath, name = write.Name;
                NormalizeRegistryPath(key, name);
                const TRawRegistryValue stored = Stored(name, write.Value);
                if (stored.Type == REG_NONE)
                    store.CreateKey(EffectiveRegistryRoot(root), key);
                else
                    store.SetValue(EffectiveRegistryRoot(root), key, stored);
            }
        });
    } catch (...) {
        // A write that cannot be done changes nothing, by design.
    }
    return true;
}

bool WriteRegistry(TRegistryRoot root, QString keyPath, QString valueName, const TRegistryValue &value)
{
    return WriteRegistryValues(root, keyPath, {TRegistryWrite{valueName, value}});
}
