#include "TStoreFixture.h"
#include "registry/OERegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class TRegistryOwnershipTest : public TStoreFixture {
protected:
    // Makes a database at the store's path with the statements given.
    void MakeDatabase(const char *sql)
    {
        QDir().mkpath(config.path() + "/Ostrel");
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(StorePath()).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }
    QByteArray StoreBytes() const
    {
        QFile file(StorePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    int ApplicationId()
    {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(StorePath()).constData(), &db);
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &statement, nullptr);
        const int id = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return id;
    }
};

TEST_F(TRegistryOwnershipTest, AForeignDatabaseIsNeitherReadNorWrittenNorConverted)
{
    for (const char *foreign : {
             "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine');",
             // The store's table names, another shape.
             "CREATE TABLE registry_keys (root, folded, path, parent_folded, extra);"
             "CREATE TABLE registry_values (root, key_folded, name_folded, name, type, data);",
             "PRAGMA application_id=1234; CREATE TABLE registry_values (x);",
         }) {
        QFile::remove(StorePath());
        MakeDatabase(foreign);
        const QByteArray before = StoreBytes();
        EXPECT_TRUE(WriteRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(640)));
        EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(7)).AsInteger(), 7);
        EXPECT_EQ(StoreBytes(), before) << foreign;
        EXPECT_FALSE(QFile::exists(StorePath() + "-wal")) << foreign;
    }
}

TEST_F(TRegistryOwnershipTest, ANewStoreIsMarkedAndAStoreOfTheEarlierReleaseIsUpgradedWithEverything)
{
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(640));
    EXPECT_EQ(ApplicationId(), TRegistryDatabase::ApplicationId);
    QFile::remove(StorePath());
    // As the earlier release left it: whole paths in the key table, no id.
    MakeDatabase("CREATE TABLE registry_keys ("
                 " root INTEGER NOT NULL, folded TEXT NOT NULL, path TEXT NOT NULL, parent_folded TEXT NOT NULL,"
                 " PRIMARY KEY (root, folded)) WITHOUT ROWID;"
                 "CREATE TABLE registry_values ("
                 " root INTEGER NOT NULL, key_folded TEXT NOT NULL, name_folded TEXT NOT NULL, name TEXT NOT NULL,"
                 " type INTEGER NOT NULL, data BLOB NOT NULL,"
                 " PRIMARY KEY (root, key_folded, name_folded)) WITHOUT ROWID;"
                 "INSERT INTO registry_keys VALUES (2147483649, 'software', 'Software', ''),"
                 " (2147483649, 'software\\ostrel', 'Software\\Ostrel', 'software'),"
                 " (2147483649, 'software\\ostrel\\test', 'Software\\Ostrel\\Test', 'software\\ostrel');"
                 "INSERT INTO registry_values VALUES (2147483649, 'software\\ostrel\\test', 'width', 'Width', 4,"
                 " x'80020000'), (2147483649, '', 'top', 'Top', 4, x'01000000');");
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(0)).AsInteger(), 640);
    EXPECT_EQ(ApplicationId(), TRegistryDatabase::ApplicationId);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "", "top", TRegistryValue::Integer(0)).AsInteger(), 1);
    auto store = Store();
    EXPECT_EQ(store.SubKeys(HKEY_CURRENT_USER, "SOFTWARE"), QStringList({"Software\\Ostrel"}));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "Height", TRegistryValue::Integer(480));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "Height", TRegistryValue::Integer(0)).AsInteger(), 480);
}

TEST_F(TRegistryOwnershipTest, AKeyThirtyThousandLevelsDeepCostsLinearSpace)
{
    QStringList names;
    for (int level = 0; level < 30000; ++level)
        names << QStringLiteral("k%1").arg(level % 10);
    const QString deep = names.join(QLatin1Char('\\'));
    EXPECT_TRUE(WriteRegistry(HKEY_CURRENT_USER, deep, "x", TRegistryValue::Integer(5)));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, deep.toUpper(), "X", TRegistryValue::Integer(0)).AsInteger(), 5);
    EXPECT_LT(QFileInfo(StorePath()).size() + QFileInfo(StorePath() + "-wal").size(), 8 * 1024 * 1024);
    auto store = Store();
    EXPECT_TRUE(store.DeleteKey(HKEY_CURRENT_USER, names.mid(0, 3).join(QLatin1Char('\\'))));
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, deep));
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, names.mid(0, 2).join(QLatin1Char('\\'))));
    EXPECT_EQ(store.Value(HKEY_CURRENT_USER, deep, "x"), std::nullopt);
}

TEST_F(TRegistryOwnershipTest, AStoreInAFolderOfAnotherUserIsStillReadAndWritingFailsSilently)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super user can play an ordinary user here";
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(640));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "Name", TRegistryValue::Text("/m/list.oml"));
    ASSERT_FALSE(QFile::exists(StorePath() + "-shm")); // the last writer folded its log in
    ::chmod(QFile::encodeName(config.path()).constData(), 0755);
    ::chmod(QFile::encodeName(config.path() + "/Ostrel").constData(), 0755);
    const QByteArray before = StoreBytes();
    const pid_t child = ::fork();
    if (child == 0) {
        // Neither the folder nor the file may be written: no shared-memory file can be made.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(99);
        const bool read
            = ReadRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(0)).AsInteger() == 640
            && ReadRegistry(HKEY_CURRENT_USER, TestKey, "Name", TRegistryValue::Text("")).AsText() == "/m/list.oml";
        const bool wrote = WriteRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(1));
        ::_exit(read && wrote ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(0)).AsInteger(), 640);
}

} // namespace
