#include "registry/TRegistryDatabase.h"

#include "medialist/ByteText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

constexpr int BusyTimeoutMilliseconds = 1000;

// The store's two tables: keys as a tree, each with its own name below its parent (0 for
// the root), so that a key costs the same at any depth; values belong to a key (0 for the
// root itself).
const QByteArray Tables[] = {
    "store_keys ("
    " id INTEGER PRIMARY KEY, root INTEGER NOT NULL, parent INTEGER NOT NULL, folded TEXT NOT NULL,"
    " name TEXT NOT NULL, UNIQUE (root, parent, folded))",
    "store_values ("
    " root INTEGER NOT NULL, key INTEGER NOT NULL, name_folded TEXT NOT NULL, name TEXT NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (root, key, name_folded)) WITHOUT ROWID",
};

// The tables of the release before the tree, which kept every key's whole path.
const QStringList EarlierTables = {
    QStringLiteral("registry_keys CREATE TABLE registry_keys ("
                   " root INTEGER NOT NULL, folded TEXT NOT NULL, path TEXT NOT NULL, parent_folded TEXT NOT NULL,"
                   " PRIMARY KEY (root, folded)) WITHOUT ROWID"),
    QStringLiteral("registry_values CREATE TABLE registry_values ("
                   " root INTEGER NOT NULL, key_folded TEXT NOT NULL, name_folded TEXT NOT NULL, name TEXT NOT NULL,"
                   " type INTEGER NOT NULL, data BLOB NOT NULL,"
                   " PRIMARY KEY (root, key_folded, name_folded)) WITHOUT ROWID"),
};

// The names of a key path from the top down, as the earlier release divided it: a
// backslash at the very start belongs to the first name.
QStringList KeyNames(const QString &keyPath)
{
    if (keyPath.isEmpty())
        return {};
    QStringList names = keyPath.split(QLatin1Char('\\'));
    if (names.size() > 1 && names.first().isEmpty()) {
        names.removeFirst();
        names.first().prepend(QLatin1Char('\\'));
    }
    return names;
}

// Like mkdir -p, on the bytes of the path.
void MakeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0777);
    ::mkdir(path.constData(), 0777);
}

QByteArray ReadOnlyUri(const QString &path, const char *options)
{
    return "file:" + TextBytes(path).toPercentEncoding("/") + "?mode=ro" + options;
}

QString Folded(const QString &text)
{
    return text.toCaseFolded();
}

} // namespace

class TRegistryDatabase::TStatement {
public:
    TStatement(TRegistryDatabase &owner, const char *sql) : owner_(owner)
    {
        if (sqlite3_prepare_v2(owner_.db_, sql, -1, &statement_, nullptr) != SQLITE_OK)
            owner_.Fail("prepare");
    }
    ~TStatement() { sqlite3_finalize(statement_); }

    TStatement &Bind(int index, const QString &text)
    {
        const QByteArray utf8 = TextBytes(text);
        sqlite3_bind_text(statement_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    TStatement &Bind(int index, int64_t number)
    {
        sqlite3_bind_int64(statement_, index, number);
        return *this;
    }
    TStatement &BindBlob(int index, const QByteArray &data)
    {
        sqlite3_bind_blob(statement_, index, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void Reset()
    {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    // True while there is a row to read.
    bool Step()
    {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            owner_.Fail("step");
        return false;
    }
    QString Text(int column) const
    {
        return ByteText(QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(statement_, column)),
                                   sqlite3_column_bytes(statement_, column)));
    }
    int64_t Number(int column) const { return sqlite3_column_int64(statement_, column); }
    QByteArray Blob(int column) const
    {
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(statement_, column)),
                          sqlite3_column_bytes(statement_, column));
    }

private:
    TRegistryDatabase &owner_;
    sqlite3_stmt *statement_ = nullptr;
};

// Inside another transaction, one of these is part of that one: it begins and ends nothing.
class TRegistryDatabase::TTransaction {
public:
    explicit TTransaction(TRegistryDatabase &owner) : owner_(owner), outermost_(sqlite3_get_autocommit(owner.db_) != 0)
    {
        if (outermost_)
            owner_.Execute("BEGIN IMMEDIATE");
    }
    ~TTransaction()
    {
        if (outermost_ && !committed_)
            sqlite3_exec(owner_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit()
    {
        if (outermost_)
            owner_.Execute("COMMIT");
        committed_ = true;
    }

private:
    TRegistryDatabase &owner_;
    const bool outermost_;
    bool committed_ = false;
};

void TRegistryDatabase::InOneTransaction(const std::function<void()> &work)
{
    TTransaction transaction(*this);
    work();
    transaction.Commit();
}

TRegistryDatabase::TRegistryDatabase(const QString &path, TOpenMode mode)
{
    try {
        OpenStore(path, mode);
    } catch (...) {
        Close(); // a constructor that throws runs no destructor
        throw;
    }
}

void TRegistryDatabase::OpenStore(const QString &path, TOpenMode mode)
{
    if (mode == TOpenMode::ReadOnly) {
        Open(ReadOnlyUri(path, ""), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
            // Reading a write-ahead log needs a shared-memory file beside it; where none can
            // be made, read the file as it stands (the last writer folded its log into it).
            Close();
            Open(ReadOnlyUri(path, "&immutable=1"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        }
        const TContent content = Content();
        if (content == TContent::Earlier) {
            // Upgraded once, by the first reader that may write the file.
            Close();
            Open(TextBytes(path), SQLITE_OPEN_READWRITE);
            if (Content() == TContent::Earlier)
                Upgrade();
        } else if (content != TContent::Ours) {
            throw ERegistryError("registry store: not a store of this program");
        }
        return;
    }
    int flags = SQLITE_OPEN_READWRITE;
    if (mode == TOpenMode::CreateIfMissing) {
        flags |= SQLITE_OPEN_CREATE;
        MakeFolders(TextBytes(QFileInfo(path).absolutePath()));
    }
    Open(TextBytes(path), flags);
    const TContent content = Content();
    if (content == TContent::Foreign || (content == TContent::Empty && mode != TOpenMode::CreateIfMissing))
        throw ERegistryError("registry store: not a store of this program");
    if (content == TContent::Empty)
        CreateSchema();
    else if (content == TContent::Earlier)
        Upgrade();
}

void TRegistryDatabase::Open(const QByteArray &name, int flags)
{
    if (sqlite3_open_v2(name.constData(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        Close(); // a handle that failed to open must still be closed
        throw ERegistryError("registry store: open: " + reason);
    }
    sqlite3_busy_timeout(db_, BusyTimeoutMilliseconds);
}

TRegistryDatabase::TContent TRegistryDatabase::Content()
{
    TStatement id(*this, "PRAGMA application_id");
    const int64_t application = id.Step() ? id.Number(0) : 0;
    if (application == ApplicationId)
        return TContent::Ours;
    if (application != 0)
        return TContent::Foreign;
    // A store of an earlier release has no id yet but exactly its two tables.
    TStatement tables(*this, "SELECT name, sql FROM sqlite_master ORDER BY name");
    QStringList found;
    while (tables.Step())
        found << tables.Text(0) + QLatin1Char(' ') + tables.Text(1);
    if (found.isEmpty())
        return TContent::Empty;
    return found == EarlierTables ? TContent::Earlier : TContent::Foreign;
}

TRegistryDatabase::~TRegistryDatabase()
{
    Close();
}

void TRegistryDatabase::Close()
{
    sqlite3_close(db_);
    db_ = nullptr;
}

void TRegistryDatabase::Fail(const char *what) const
{
    throw ERegistryError(std::string("registry store: ") + what + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory"));
}

void TRegistryDatabase::Execute(const char *sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(sql);
}

void TRegistryDatabase::CreateSchema()
{
    {
        TStatement mode(*this, "PRAGMA journal_mode=WAL");
        mode.Step();
    }
    TTransaction transaction(*this);
    for (const QByteArray &table : Tables)
        Execute(("CREATE TABLE IF NOT EXISTS " + table).constData());
    Execute(("PRAGMA application_id=" + QByteArray::number(ApplicationId)).constData());
    transaction.Commit();
}

void TRegistryDatabase::Upgrade()
{
    TTransaction transaction(*this);
    for (const QByteArray &table : Tables)
        Execute(("CREATE TABLE " + table).constData());
    {
        TStatement keys(*this, "SELECT root, path FROM registry_keys ORDER BY root, length(path)");
        while (keys.Step())
            InsertKeyPath(TRegistryRoot(keys.Number(0)), keys.Text(1));
        TStatement values(*this, "SELECT v.root, coalesce(k.path, ''), v.name, v.type, v.data FROM registry_values v"
                                 " LEFT JOIN registry_keys k ON k.root = v.root AND k.folded = v.key_folded");
        while (values.Step()) {
            const auto root = TRegistryRoot(values.Number(0));
            PutValue(root, InsertKeyPath(root, values.Text(1)),
                     TRawRegistryValue{values.Text(2), uint32_t(values.Number(3)), values.Blob(4)});
        }
    }
    Execute("DROP TABLE registry_values");
    Execute("DROP TABLE registry_keys");
    Execute(("PRAGMA application_id=" + QByteArray::number(ApplicationId)).constData());
    transaction.Commit();
}

std::optional<int64_t> TRegistryDatabase::FindKey(TRegistryRoot root, const QString &keyPath, QString *storedPath)
{
    int64_t key = 0;
    if (storedPath)
        storedPath->clear();
    TStatement child(*this, "SELECT id, name FROM store_keys WHERE root = ?1 AND parent = ?2 AND folded = ?3");
    for (const QString &name : KeyNames(keyPath)) {
        child.Reset();
        if (!child.Bind(1, root).Bind(2, key).Bind(3, Folded(name)).Step())
            return std::nullopt;
        key = child.Number(0);
        if (storedPath)
            *storedPath += (storedPath->isEmpty() ? QString() : QStringLiteral("\\")) + child.Text(1);
    }
    return key;
}

int64_t TRegistryDatabase::InsertKeyPath(TRegistryRoot root, const QString &keyPath)
{
    int64_t key = 0;
    TStatement child(*this, "SELECT id FROM store_keys WHERE root = ?1 AND parent = ?2 AND folded = ?3");
    TStatement insert(*this, "INSERT INTO store_keys (root, parent, folded, name) VALUES (?1, ?2, ?3, ?4)");
    for (const QString &name : KeyNames(keyPath)) {
        child.Reset();
        if (child.Bind(1, root).Bind(2, key).Bind(3, Folded(name)).Step()) {
            key = child.Number(0);
            continue;
        }
        insert.Reset();
        insert.Bind(1, root).Bind(2, key).Bind(3, Folded(name)).Bind(4, name).Step();
        key = sqlite3_last_insert_rowid(db_);
    }
    return key;
}

void TRegistryDatabase::PutValue(TRegistryRoot root, int64_t key, const TRawRegistryValue &value)
{
    TStatement upsert(*this, "INSERT OR REPLACE INTO store_values (root, key, name_folded, name, type, data)"
                             " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    upsert.Bind(1, root).Bind(2, key).Bind(3, Folded(value.Name)).Bind(4, value.Name);
    upsert.Bind(5, value.Type).BindBlob(6, value.Data).Step();
}

bool TRegistryDatabase::KeyExists(TRegistryRoot root, const QString &keyPath)
{
    return FindKey(root, keyPath).has_value();
}

std::optional<TRawRegistryValue> TRegistryDatabase::Value(TRegistryRoot root, const QString &keyPath,
                                                         const QString &name)
{
    const std::optional<int64_t> key = FindKey(root, keyPath);
    if (!key)
        return std::nullopt;
    TStatement query(*this, "SELECT name, type, data FROM store_values WHERE root = ?1 AND key = ?2 AND name_folded = ?3");
    query.Bind(1, root).Bind(2, *key).Bind(3, Folded(name));
    if (!query.Step())
        return std::nullopt;
    return TRawRegistryValue{query.Text(0), uint32_t(query.Number(1)), query.Blob(2)};
}

void TRegistryDatabase::CreateKey(TRegistryRoot root, const QString &keyPath)
{
    TTransaction transaction(*this);
    InsertKeyPath(root, keyPath);
    transaction.Commit();
}

void TRegistryDatabase::SetValue(TRegistryRoot root, const QString &keyPath, const TRawRegistryValue &value)
{
    TTransaction transaction(*this);
    PutValue(root, InsertKeyPath(root, keyPath), value);
    transaction.Commit();
}

QList<TRawRegistryValue> TRegistryDatabase::Values(TRegistryRoot root, const QString &keyPath)
{
    QList<TRawRegistryValue> values;
    const std::optional<int64_t> key = FindKey(root, keyPath);
    if (!key)
        return values;
    TStatement query(*this, "SELECT name, type, data FROM store_values WHERE root = ?1 AND key = ?2 ORDER BY name_folded");
    query.Bind(1, root).Bind(2, *key);
    while (query.Step())
        values.append(TRawRegistryValue{query.Text(0), uint32_t(query.Number(1)), query.Blob(2)});
    return values;
}

QStringList TRegistryDatabase::SubKeys(TRegistryRoot root, const QString &keyPath)
{
    QStringList keys;
    QString stored;
    const std::optional<int64_t> key = FindKey(root, keyPath, &stored);
    if (!key)
        return keys;
    TStatement query(*this, "SELECT name FROM store_keys WHERE root = ?1 AND parent = ?2 ORDER BY folded");
    query.Bind(1, root).Bind(2, *key);
    while (query.Step())
        keys.append(stored.isEmpty() ? query.Text(0) : stored + QLatin1Char('\\') + query.Text(0));
    return keys;
}

bool TRegistryDatabase::DeleteValue(TRegistryRoot root, const QString &keyPath, const QString &name)
{
    const std::optional<int64_t> key = FindKey(root, keyPath);
    if (!key)
        return false;
    TStatement remove(*this, "DELETE FROM store_values WHERE root = ?1 AND key = ?2 AND name_folded = ?3");
    remove.Bind(1, root).Bind(2, *key).Bind(3, Folded(name)).Step();
    return sqlite3_changes(db_) > 0;
}

bool TRegistryDatabase::DeleteKey(TRegistryRoot root, const QString &keyPath)
{
    TTransaction transaction(*this);
    const std::optional<int64_t> key = FindKey(root, keyPath);
    if (!key)
        return false;
    const char *const below = "WITH RECURSIVE below(id) AS (SELECT ?2 UNION ALL"
                              " SELECT k.id FROM store_keys k JOIN below b ON k.root = ?1 AND k.parent = b.id)";
    TStatement values(*this, (QByteArray(below) + " DELETE FROM store_values WHERE root = ?1 AND key IN below").constData());
    values.Bind(1, root).Bind(2, *key).Step();
    TStatement keys(*this, (QByteArray(below) + " DELETE FROM store_keys WHERE id IN below").constData());
    keys.Bind(1, root).Bind(2, *key).Step();
    transaction.Commit();
    return true;
}

QString TRegistryDatabase::DefaultPath()
{
    QString config = ByteText(qgetenv("XDG_CONFIG_HOME"));
    if (config.isEmpty())
        config = (qEnvironmentVariableIsEmpty("HOME") ? QDir::homePath() : ByteText(qgetenv("HOME")))
                 + QStringLiteral("/.config");
    return config + QStringLiteral("/Ostrel/registry.db");
}
