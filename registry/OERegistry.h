#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

class TRegistryDatabase;

// The per-user registry: named values under backslash-separated keys below a root.
// Reads fall back to their default and writes give up silently; nothing is ever reported.

using TRegistryRoot = uint32_t;

inline constexpr TRegistryRoot HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr TRegistryRoot HKEY_CURRENT_USER = 0x80000001;
inline constexpr TRegistryRoot HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr TRegistryRoot HKEY_USERS = 0x80000003;
inline constexpr TRegistryRoot HKEY_PERFORMANCE_DATA = 0x80000004;
inline constexpr TRegistryRoot HKEY_CURRENT_CONFIG = 0x80000005;
inline constexpr TRegistryRoot HKEY_DYN_DATA = 0x80000006;
inline constexpr TRegistryRoot DefaultRegistryRoot = HKEY_CURRENT_USER;

enum class TRegistryKind { Empty, Integer, Float, Currency, DateTime, Text, Boolean };

// A value with its kind; the kind decides how it is stored and read.
class TRegistryValue {
public:
    TRegistryValue() = default;
    static TRegistryValue Integer(int32_t value);
    static TRegistryValue Float(double value);
    // The amount times 10000.
    static TRegistryValue Currency(int64_t scaled);
    static TRegistryValue DateTime(double value);
    static TRegistryValue Text(const QString &value);
    static TRegistryValue Boolean(bool value);

    TRegistryKind Kind() const { return kind_; }
    int32_t AsInteger() const { return int32_t(whole_); }
    double AsFloat() const { return real_; }
    int64_t AsCurrency() const { return whole_; }
    double AsDateTime() const { return real_; }
    QString AsText() const { return text_; }
    bool AsBoolean() const { return whole_ != 0; }

    bool operator==(const TRegistryValue &) const = default;

private:
    TRegistryValue(TRegistryKind kind, int64_t whole, double real, const QString &text)
        : kind_(kind), whole_(whole), real_(real), text_(text) {}

    TRegistryKind kind_ = TRegistryKind::Empty;
    int64_t whole_ = 0;
    double real_ = 0;
    QString text_;
};

// Drops one trailing and one leading backslash of a non-empty key path, and up to two
// leading backslashes of a value name.
void NormalizeRegistryPath(QString &keyPath, QString &valueName);

// The root itself for the seven predefined roots, HKEY_CURRENT_USER for anything else.
TRegistryRoot EffectiveRegistryRoot(TRegistryRoot root);

TRegistryValue ReadRegistry(TRegistryRoot root, QString keyPath, QString valueName, const TRegistryValue &defaultValue);
// Always true: failures change nothing and are not reported.
bool WriteRegistry(TRegistryRoot root, QString keyPath, QString valueName, const TRegistryValue &value);

// Reads several values through one connection to the store, each as ReadRegistry would.
class TRegistryReader {
public:
    TRegistryReader();
    ~TRegistryReader();
    TRegistryReader(const TRegistryReader &) = delete;
    TRegistryReader &operator=(const TRegistryReader &) = delete;

    TRegistryValue Read(TRegistryRoot root, QString keyPath, QString valueName, const TRegistryValue &defaultValue) const;

private:
    std::unique_ptr<TRegistryDatabase> store_; // none when the store cannot be read
};

struct TRegistryWrite {
    QString Name;
    TRegistryValue Value;
};
// Writes several values of one key in one transaction on one connection, each as
// WriteRegistry would; all or none of them are stored. Always true, like WriteRegistry.
bool WriteRegistryValues(TRegistryRoot root, const QString &keyPath, const QList<TRegistryWrite> &values);
