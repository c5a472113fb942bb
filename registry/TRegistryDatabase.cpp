#include "TRegistryDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

constexpr int BusyTimeoutMilliseconds = 1000;

// The store's two tables.
const QByteArray Tables[] = {
    "registry_keys ("
    " root INTEGER NOT NULL, folded TEXT NOT NULL, path TEXT NOT NULL, parent_folded TEXT NOT NULL,"
    " PRIMARY KEY (root, folded)) WITHOUT ROWID",
    "registry_values ("
    " root INTEGER NOT NULL, key_folded TEXT NOT NULL, name_folded TEXT NOT NULL, name TEXT NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY (root, key_folded, name_folded)) WITHOUT ROWID",
};

QByteArray ReadOnlyUri(const QString &path, const char *options)
{
    return "file:" + QFile::encodeName(path).toPercentEncoding("/") + "?mode=ro" + options;
}

QString Folded(const QString &text)
{
    return text.toCaseFolded();
}

QString ParentOf(const QString &keyPath)
{
    const qsizetype slash = keyPath.lastIndexOf(QLatin1Char('\\'));
    return slash < 0 ? QString() : keyPath.left(slash);
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
        const QByteArray utf8 = text.toUtf8();
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
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement_, column)),
                                 sqlite3_column_bytes(statement_, column));
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

class TRegistryDatabase::TTransaction {
public:
    explicit TTransaction(TRegistryDatabase &owner) : owner_(owner) { owner_.Execute("BEGIN IMMEDIATE"); }
    ~TTransaction()
    {
        if (!committed_)
            sqlite3_exec(owner_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit()
    {
        owner_.Execute("COMMIT");
        committed_ = true;
    }

private:
    TRegistryDatabase &owner_;
    bool committed_ = false;
};

TRegistryDatabase::TRegistryDatabase(const QString &path, TOpenMode mode)
{
    if (mode == TOpenMode::ReadOnly) {
        Open(ReadOnlyUri(path, ""), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
            // Reading a write-ahead log needs a shared-memory file beside it; where none can
            // be made, read the file as it stands (the last writer folded its log into it).
            sqlite3_close(db_);
            db_ = nullptr;
            Open(ReadOnlyUri(path, "&immutable=1"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        }
        const TContent content = Content();
        if (content != TContent::Ours && content != TContent::Earlier)
            throw ERegistryError("registry store: not a store of this program");
        return;
    }
    int flags = SQLITE_OPEN_READWRITE;
    if (mode == TOpenMode::CreateIfMissing) {
        flags |= SQLITE_OPEN_CREATE;
        QDir().mkpath(QFileInfo(path).absolutePath());
    }
    Open(QFile::encodeName(path), flags);
    const TContent content = Content();
    if (content == TContent::Foreign || (content == TContent::Empty && mode != TOpenMode::CreateIfMissing))
        throw ERegistryError("registry store: not a store of this program");
    if (content == TContent::Empty)
        CreateSchema();
    else if (content == TContent::Earlier)
        MarkAsOurs();
}

void TRegistryDatabase::Open(const QByteArray &name, int flags)
{
    if (sqlite3_open_v2(name.constData(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        Fail("open");
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
    // A store of an earlier release has no id yet but exactly the two tables of the store.
    TStatement tables(*this, "SELECT name, sql FROM sqlite_master ORDER BY name");
    QStringList found;
    while (tables.Step())
        found << tables.Text(0) + QLatin1Char(' ') + tables.Text(1);
    if (found.isEmpty())
        return TContent::Empty;
    QStringList ours;
    for (const QByteArray &table : Tables)
        ours << QString::fromLatin1(table.left(table.indexOf(' ')) + " CREATE TABLE " + table);
    return found == ours ? TContent::Earlier : TContent::Foreign;
}

TRegistryDatabase::~TRegistryDatabase()
{
    sqlite3_close(db_);
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

void TRegistryDatabase::MarkAsOurs()
{
    Execute(("PRAGMA application_id=" + QByteArray::number(ApplicationId)).constData());
}

bool TRegistryDatabase::KeyExists(TRegistryRoot root, const QString &keyPath)
{
    if (keyPath.isEmpty())
        return true;
    TStatement query(*this, "SELECT 1 FROM registry_keys WHERE root = ?1 AND folded = ?2");
    return query.Bind(1, root).Bind(2, Folded(keyPath)).Step();
}

std::optional<TRawRegistryValue> TRegistryDatabase::Value(TRegistryRoot root, const QString &keyPath,
                                                         const QString &name)
{
    TStatement query(*this, "SELECT name, type, data FROM registry_values"
                            " WHERE root = ?1 AND key_folded = ?2 AND name_folded = ?3");
    query.Bind(1, root).Bind(2, Folded(keyPath)).Bind(3, Folded(name));
    if (!query.Step())
        return std::nullopt;
    return TRawRegistryValue{query.Text(0), uint32_t(query.Number(1)), query.Blob(2)};
}

void TRegistryDatabase::InsertKeyPath(TRegistryRoot root, const QString &keyPath)
{
    for (QString path = keyPath; !path.isEmpty(); path = ParentOf(path)) {
        TStatement one(*this, "INSERT OR IGNORE INTO registry_keys (root, folded, path, parent_folded)"
                              " VALUES (?1, ?2, ?3, ?4)");
        one.Bind(1, root).Bind(2, Folded(path)).Bind(3, path).Bind(4, Folded(ParentOf(path))).Step();
    }
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
    InsertKeyPath(root, keyPath);
    TStatement upsert(*this, "INSERT OR REPLACE INTO registry_values"
                             " (root, key_folded, name_folded, name, type, data) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    upsert.Bind(1, root).Bind(2, Folded(keyPath)).Bind(3, Folded(value.Name)).Bind(4, value.Name);
    upsert.Bind(5, value.Type).BindBlob(6, value.Data).Step();
    transaction.Commit();
}

QList<TRawRegistryValue> TRegistryDatabase::Values(TRegistryRoot root, const QString &keyPath)
{
    TStatement query(*this, "SELECT name, type, data FROM registry_values"
                            " WHERE root = ?1 AND key_folded = ?2 ORDER BY name_folded");
    query.Bind(1, root).Bind(2, Folded(keyPath));
    QList<TRawRegistryValue> values;
    while (query.Step())
        values.append(TRawRegistryValue{query.Text(0), uint32_t(query.Number(1)), query.Blob(2)});
    return values;
}

QStringList TRegistryDatabase::SubKeys(TRegistryRoot root, const QString &keyPath)
{
    TStatement query(*this, "SELECT path FROM registry_keys WHERE root = ?1 AND parent_folded = ?2 ORDER BY folded");
    query.Bind(1, root).Bind(2, Folded(keyPath));
    QStringList keys;
    while (query.Step())
        keys.append(query.Text(0));
    return keys;
}

bool TRegistryDatabase::DeleteValue(TRegistryRoot root, const QString &keyPath, const QString &name)
{
    TStatement remove(*this, "DELETE FROM registry_values WHERE root = ?1 AND key_folded = ?2 AND name_folded = ?3");
    remove.Bind(1, root).Bind(2, Folded(keyPath)).Bind(3, Folded(name)).Step();
    return sqlite3_changes(db_) > 0;
}

bool TRegistryDatabase::DeleteKey(TRegistryRoot root, const QString &keyPath)
{
    TTransaction transaction(*this);
    if (!KeyExists(root, keyPath))
        return false;
    const QString folded = Folded(keyPath);
    const QString below = folded.isEmpty() ? QString() : folded + QLatin1Char('\\');
    TStatement values(*this, "DELETE FROM registry_values WHERE root = ?1"
                             " AND (key_folded = ?2 OR substr(key_folded, 1, length(?3)) = ?3)");
    values.Bind(1, root).Bind(2, folded).Bind(3, below).Step();
    TStatement keys(*this, "DELETE FROM registry_keys WHERE root = ?1"
                           " AND (folded = ?2 OR substr(folded, 1, length(?3)) = ?3)");
    keys.Bind(1, root).Bind(2, folded).Bind(3, below).Step();
    transaction.Commit();
    return true;
}

QString TRegistryDatabase::DefaultPath()
{
    QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Ostrel/registry.db");
}
