#include "registry/RegTool.h"

#include "medialist/ByteText.h"
#include "registry/TRegistryDatabase.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cctype>
#include <optional>

namespace {

struct TRootName {
    const char *shortName;
    const char *longName;
    TRegistryRoot root;
};

constexpr TRootName RootNames[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKU", "HKEY_USERS", HKEY_USERS},
    {"HKPD", "HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKCC", "HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKDD", "HKEY_DYN_DATA", HKEY_DYN_DATA},
};

const QString NotFound = QStringLiteral("ERROR: The system was unable to find the specified registry key or value.");
const QString Done = QStringLiteral("The operation completed successfully.");
const QString Cancelled = QStringLiteral("The operation was canceled by the user.");

class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TKey {
    TRegistryRoot root = HKEY_CURRENT_USER;
    QString rootName;
    QString path;
    QString FullName() const { return path.isEmpty() ? rootName : rootName + QLatin1Char('\\') + path; }
};

TKey ParseKey(const QString &text)
{
    const qsizetype slash = text.indexOf(QLatin1Char('\\'));
    const QString rootPart = slash < 0 ? text : text.left(slash);
    for (const TRootName &name : RootNames) {
        if (rootPart.compare(QLatin1String(name.shortName), Qt::CaseInsensitive) == 0
            || rootPart.compare(QLatin1String(name.longName), Qt::CaseInsensitive) == 0) {
            TKey key{name.root, QLatin1String(name.longName), slash < 0 ? QString() : text.mid(slash + 1)};
            QString unusedName;
            NormalizeRegistryPath(key.path, unusedName);
            return key;
        }
    }
    throw EUsage("Invalid key name: " + text.toStdString());
}

// The switches after the key: /v NAME, /t TYPE, /d DATA take a value; /f stands alone.
struct TSwitches {
    std::optional<QString> name, type, data;
    bool force = false;
};

TSwitches ParseSwitches(const QStringList &arguments, qsizetype from, const QStringList &allowed)
{
    TSwitches switches;
    for (qsizetype i = from; i < arguments.size(); ++i) {
        const QString flag = arguments[i].toLower();
        if (!allowed.contains(flag))
            throw EUsage("Invalid syntax: " + arguments[i].toStdString());
        if (flag == QLatin1String("/f")) {
            switches.force = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            throw EUsage("Missing value after " + arguments[i].toStdString());
        const QString value = arguments[++i];
        if (flag == QLatin1String("/v"))
            switches.name = value;
        else if (flag == QLatin1String("/t"))
            switches.type = value;
        else
            switches.data = value;
    }
    return switches;
}

QString TypeName(uint32_t type)
{
    switch (type) {
    case REG_SZ:
        return QStringLiteral("REG_SZ");
    case REG_EXPAND_SZ:
        return QStringLiteral("REG_EXPAND_SZ");
    case REG_BINARY:
        return QStringLiteral("REG_BINARY");
    case REG_DWORD:
        return QStringLiteral("REG_DWORD");
    case REG_NONE:
        return QStringLiteral("REG_NONE");
    default:
        return QStringLiteral("REG_UNKNOWN(%1)").arg(type);
    }
}

QString DataText(const TRawRegistryValue &value)
{
    if ((value.Type == REG_SZ || value.Type == REG_EXPAND_SZ)) {
        const qsizetype zero = value.Data.indexOf('\0');
        return ByteText(zero < 0 ? value.Data : value.Data.left(zero));
    }
    if (value.Type == REG_DWORD && value.Data.size() == 4)
        return QStringLiteral("0x") + QString::number(qFromLittleEndian<uint32_t>(value.Data.constData()), 16);
    return QString::fromLatin1(value.Data.toHex().toUpper());
}

void PrintValue(QTextStream &out, const TRawRegistryValue &value)
{
    out << "    " << value.Name << "    " << TypeName(value.Type) << "    " << DataText(value) << "\n";
}

TRawRegistryValue Encode(const QString &name, const QString &type, const QString &data)
{
    const QString upper = type.toUpper();
    if (upper == QLatin1String("REG_SZ") || upper == QLatin1String("REG_EXPAND_SZ"))
        return {name, upper == QLatin1String("REG_SZ") ? REG_SZ : REG_EXPAND_SZ, TextBytes(data) + '\0'};
    if (upper == QLatin1String("REG_DWORD")) {
        bool ok = false;
        const uint32_t number = data.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                    ? data.mid(2).toUInt(&ok, 16)
                                    : data.toUInt(&ok, 10);
        if (!ok)
            throw EUsage("Invalid REG_DWORD data: " + data.toStdString());
        QByteArray bytes(4, Qt::Uninitialized);
        qToLittleEndian(number, bytes.data());
        return {name, REG_DWORD, bytes};
    }
    if (upper == QLatin1String("REG_BINARY")) {
        const QByteArray hex = data.toLatin1();
        const bool isHex = hex.size() % 2 == 0 && std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(uchar(c)); });
        if (!isHex)
            throw EUsage("Invalid REG_BINARY data (hex digits in pairs): " + data.toStdString());
        return {name, REG_BINARY, QByteArray::fromHex(hex)};
    }
    throw EUsage("Unsupported type: " + type.toStdString());
}

int Query(TRegistryDatabase &store, const TKey &key, const TSwitches &switches, QTextStream &out, QTextStream &err)
{
    if (!store.KeyExists(key.root, key.path)) {
        err << NotFound << "\n";
        return 1;
    }
    if (switches.name) {
        const std::optional<TRawRegistryValue> value = store.Value(key.root, key.path, *switches.name);
        if (!value) {
            err << NotFound << "\n";
            return 1;
        }
        out << "\n" << key.FullName() << "\n";
        PrintValue(out, *value);
        out << "\n";
        return 0;
    }
    out << "\n" << key.FullName() << "\n";
    for (const TRawRegistryValue &value : store.Values(key.root, key.path))
        PrintValue(out, value);
    out << "\n";
    for (const QString &subKey : store.SubKeys(key.root, key.path))
        out << key.rootName << "\\" << subKey << "\n";
    return 0;
}

int Add(TRegistryDatabase &store, const TKey &key, const TSwitches &switches, QTextStream &out,
        const std::function<bool(const QString &)> &confirm)
{
    if (!switches.name) {
        store.CreateKey(key.root, key.path);
        out << Done << "\n";
        return 0;
    }
    const TRawRegistryValue value = Encode(*switches.name, switches.type.value_or(QStringLiteral("REG_SZ")),
                                           switches.data.value_or(QString()));
    const bool exists = store.Value(key.root, key.path, value.Name).has_value();
    if (exists && !switches.force && !confirm(QStringLiteral("Value %1 exists, overwrite(Yes/No)? ").arg(value.Name))) {
        out << Cancelled << "\n";
        return 0;
    }
    store.SetValue(key.root, key.path, value);
    out << Done << "\n";
    return 0;
}

int Delete(TRegistryDatabase &store, const TKey &key, const TSwitches &switches, QTextStream &out, QTextStream &err,
           const std::function<bool(const QString &)> &confirm)
{
    const QString question = switches.name
                                 ? QStringLiteral("Delete the registry value %1 (Yes/No)? ").arg(*switches.name)
                                 : QStringLiteral("Permanently delete the registry key %1 (Yes/No)? ").arg(key.FullName());
    if (!switches.force && !confirm(question)) {
        out << Cancelled << "\n";
        return 0;
    }
    const bool deleted = switches.name ? store.DeleteValue(key.root, key.path, *switches.name)
                                       : !key.path.isEmpty() && store.DeleteKey(key.root, key.path);
    if (!deleted) {
        err << NotFound << "\n";
        return 1;
    }
    out << Done << "\n";
    return 0;
}

void PrintUsage(QTextStream &err)
{
    err << "usage: ostrel-reg query KEY [/v NAME]\n"
           "       ostrel-reg add KEY [/v NAME] [/t REG_DWORD|REG_SZ|REG_EXPAND_SZ|REG_BINARY] [/d DATA] [/f]\n"
           "       ostrel-reg delete KEY [/v NAME] [/f]\n"
           "KEY is ROOT\\PATH, ROOT one of HKCR HKCU HKLM HKU HKCC, for example\n"
           "    \"HKCU\\SOFTWARE\\Ostrel\\Ostrel Media Player\"\n"
           "The store is "
        << TRegistryDatabase::DefaultPath() << "\n";
}

} // namespace

int RunRegTool(const QStringList &arguments, QTextStream &out, QTextStream &err,
               const std::function<bool(const QString &)> &confirm)
{
    if (arguments.size() < 2) {
        PrintUsage(err);
        return 1;
    }
    const QString command = arguments[0].toLower();
    try {
        const TKey key = ParseKey(arguments[1]);
        const QString path = TRegistryDatabase::DefaultPath();
        if (command == QLatin1String("query")) {
            const TSwitches switches = ParseSwitches(arguments, 2, {"/v"});
            if (!QFileInfo::exists(path)) {
                err << NotFound << "\n";
                return 1;
            }
            TRegistryDatabase store(path, TRegistryDatabase::TOpenMode::ReadOnly);
            return Query(store, key, switches, out, err);
        }
        if (command == QLatin1String("add")) {
            const TSwitches switches = ParseSwitches(arguments, 2, {"/v", "/t", "/d", "/f"});
            TRegistryDatabase store(path, TRegistryDatabase::TOpenMode::CreateIfMissing);
            return Add(store, key, switches, out, confirm);
        }
        if (command == QLatin1String("delete")) {
            const TSwitches switches = ParseSwitches(arguments, 2, {"/v", "/f"});
            if (!QFileInfo::exists(path)) {
                err << NotFound << "\n";
                return 1;
            }
            TRegistryDatabase store(path, TRegistryDatabase::TOpenMode::ExistingOnly);
            return Delete(store, key, switches, out, err, confirm);
        }
        throw EUsage("Unknown command: " + arguments[0].toStdString());
    } catch (const EUsage &error) {
        err << "ERROR: " << error.what() << "\n";
        PrintUsage(err);
    } catch (const ERegistryError &error) {
        err << "ERROR: " << error.what() << "\n";
    }
    return 1;
}
