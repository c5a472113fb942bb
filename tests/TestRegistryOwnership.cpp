#include "OERegistry.h"
#include "TStoreFixture.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Key = "\\SOFTWARE\\Ostrel\\Test";

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
        EXPECT_TRUE(WriteRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(640)));
        EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(7)).AsInteger(), 7);
        EXPECT_EQ(StoreBytes(), before) << foreign;
        EXPECT_FALSE(QFile::exists(StorePath() + "-wal")) << foreign;
    }
}

TEST_F(TRegistryOwnershipTest, ANewStoreIsMarkedAndAStoreOfAnEarlierReleaseIsReadAndThenMarked)
{
    WriteRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(640));
    EXPECT_EQ(ApplicationId(), TRegistryDatabase::ApplicationId);
    // As the earlier release left it: the same tables, no id.
    MakeDatabase("PRAGMA application_id=0");
    EXPECT_EQ(ApplicationId(), 0);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(0)).AsInteger(), 640);
    WriteRegistry(HKEY_CURRENT_USER, Key, "Height", TRegistryValue::Integer(480));
    EXPECT_EQ(ApplicationId(), TRegistryDatabase::ApplicationId);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, Key, "Height", TRegistryValue::Integer(0)).AsInteger(), 480);
}

TEST_F(TRegistryOwnershipTest, AStoreInAFolderOfAnotherUserIsStillReadAndWritingFailsSilently)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super user can play an ordinary user here";
    WriteRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(640));
    WriteRegistry(HKEY_CURRENT_USER, Key, "Name", TRegistryValue::Text("/m/list.oml"));
    ASSERT_FALSE(QFile::exists(StorePath() + "-shm")); // the last writer folded its log in
    ::chmod(QFile::encodeName(config.path()).constData(), 0755);
    ::chmod(QFile::encodeName(config.path() + "/Ostrel").constData(), 0755);
    const QByteArray before = StoreBytes();
    const pid_t child = ::fork();
    if (child == 0) {
        // Neither the folder nor the file may be written: no shared-memory file can be made.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(99);
        const bool read = ReadRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(0)).AsInteger() == 640
                          && ReadRegistry(HKEY_CURRENT_USER, Key, "Name", TRegistryValue::Text("")).AsText()
                                 == "/m/list.oml";
        const bool wrote = WriteRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(1));
        ::_exit(read && wrote ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, Key, "Width", TRegistryValue::Integer(0)).AsInteger(), 640);
}

} // namespace
