#pragma once

#include "registry/OERegistry.h"
#include "registry/RegistryDataTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

struct sqlite3;

class ERegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TRawRegistryValue {
    QString Name;
    uint32_t Type = REG_NONE;
    QByteArray Data;
};

// The registry kept in one SQLite database: a tree of keys below each root, and values
// with their registry data type and raw bytes. Paths and names compare ignoring case. Each
// call is one transaction of its own, so that several players can share the file.
// The file carries the store's own application id: any other database at the path is
// foreign and is neither read, written nor converted.
// Every failure raises ERegistryError.
class TRegistryDatabase {
public:
    // ReadOnly also reads a store in a folder where the engine's shared-memory file cannot
    // be made (a read-only folder, a full disk).
    enum class TOpenMode { ReadOnly, ExistingOnly, CreateIfMissing };

    static constexpr int32_t ApplicationId = 0x4F535452; // "OSTR"

    // Without CreateIfMissing, a missing file raises ERegistryError and nothing is created.
    TRegistryDatabase(const QString &path, TOpenMode mode);
    ~TRegistryDatabase();
    TRegistryDatabase(const TRegistryDatabase &) = delete;
    TRegistryDatabase &operator=(const TRegistryDatabase &) = delete;

    bool KeyExists(TRegistryRoot root, const QString &keyPath);
    std::optional<TRawRegistryValue> Value(TRegistryRoot root, const QString &keyPath, const QString &name);
    // Creates the key and every missing parent.
    void CreateKey(TRegistryRoot root, const QString &keyPath);
    // Creates the key path as needed and sets the value.
    void SetValue(TRegistryRoot root, const QString &keyPath, const TRawRegistryValue &value);
    QList<TRawRegistryValue> Values(TRegistryRoot root, const QString &keyPath);
    // The full paths of the keys directly below the key.
    QStringList SubKeys(TRegistryRoot root, const QString &keyPath);
    // False when there was no such value.
    bool DeleteValue(TRegistryRoot root, const QString &keyPath, const QString &name);
    // Deletes the key with everything below it; false when there was no such key.
    bool DeleteKey(TRegistryRoot root, const QString &keyPath);

    // Runs the calls of `work` as one transaction: all of them take effect, or none.
    void InOneTransaction(const std::function<void()> &work);

    // $XDG_CONFIG_HOME/Ostrel/registry.db, with ~/.config when the variable is unset.
    static QString DefaultPath();

private:
    class TStatement;
    class TTransaction;
    void Execute(const char *sql);
    void OpenStore(const QString &path, TOpenMode mode);
    void Open(const QByteArray &name, int flags);
    void Close();
    // What the file holds: nothing yet, this store, this store of a release before the
    // application id, or anything else.
    enum class TContent { Empty, Ours, Earlier, Foreign };
    TContent Content();
    void CreateSchema();
    // Moves a store of the earlier release into the key tree, in one transaction.
    void Upgrade();
    // The key's id (0 for the root), with its path as stored; nothing when it is missing.
    std::optional<int64_t> FindKey(TRegistryRoot root, const QString &keyPath, QString *storedPath = nullptr);
    // Creates what is missing of the path; the key's id.
    int64_t InsertKeyPath(TRegistryRoot root, const QString &keyPath);
    void PutValue(TRegistryRoot root, int64_t key, const TRawRegistryValue &value);
    [[noreturn]] void Fail(const char *what) const;

    sqlite3 *db_ = nullptr;
};
