#include "TStoreFixture.h"
#include "registry/OERegistry.h"

#include <QFileInfo>
#include <QProcess>
#include <cstring>
#include <sqlite3.h>

namespace {

using TRegistryTest = TStoreFixture;

TRawRegistryValue Raw(TRegistryDatabase &store, const QString &name)
{
    const auto value = store.Value(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Test", name);
    return value.value_or(TRawRegistryValue{"<none>", 999, {}});
}

QByteArray Bytes(const void *data, int size)
{
    return QByteArray(static_cast<const char *>(data), size);
}

TEST_F(TRegistryTest, EveryKindRoundTripsWithItsStorage)
{
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "int", TRegistryValue::Integer(-2));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "yes", TRegistryValue::Boolean(true));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "no", TRegistryValue::Boolean(false));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "text", TRegistryValue::Text(QString::fromUtf8("/tmp/Grüße.oml")));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "float", TRegistryValue::Float(3.25));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "date", TRegistryValue::DateTime(45000.5));
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "money", TRegistryValue::Currency(123456789));

    auto store = Store();
    EXPECT_EQ(Raw(store, "int").Type, REG_DWORD);
    EXPECT_EQ(Raw(store, "int").Data, QByteArray("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(Raw(store, "yes").Data, QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(Raw(store, "no").Data, QByteArray(4, '\0'));
    EXPECT_EQ(Raw(store, "text").Type, REG_SZ);
    EXPECT_EQ(Raw(store, "text").Data,
              QByteArray("/tmp/Gr\xC3\xBC\xC3\x9F"
                         "e.oml\0",
                         17));
    const double real = 3.25;
    EXPECT_EQ(Raw(store, "float").Type, REG_BINARY);
    EXPECT_EQ(Raw(store, "float").Data, Bytes(&real, 8));
    const int64_t scaled = 123456789;
    EXPECT_EQ(Raw(store, "money").Data, Bytes(&scaled, 8));

    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "int", TRegistryValue::Integer(0)), TRegistryValue::Integer(-2));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "yes", TRegistryValue::Boolean(false)),
              TRegistryValue::Boolean(true));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "no", TRegistryValue::Boolean(true)),
              TRegistryValue::Boolean(false));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "text", TRegistryValue::Text("")).AsText(),
              QString::fromUtf8("/tmp/Grüße.oml"));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "float", TRegistryValue::Float(0)), TRegistryValue::Float(3.25));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "date", TRegistryValue::DateTime(0)),
              TRegistryValue::DateTime(45000.5));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "money", TRegistryValue::Currency(0)),
              TRegistryValue::Currency(123456789));
}

TEST_F(TRegistryTest, AnyMismatchOfTypeOrSizeGivesTheDefault)
{
    auto store = Store();
    const QString path = "SOFTWARE\\Ostrel\\Test";
    store.SetValue(HKEY_CURRENT_USER, path, {"sz", REG_SZ, QByteArray("42\0", 3)});
    store.SetValue(HKEY_CURRENT_USER, path, {"bin4", REG_BINARY, QByteArray(4, '\1')});
    store.SetValue(HKEY_CURRENT_USER, path, {"dword", REG_DWORD, QByteArray("\x07\0\0\0", 4)});
    store.SetValue(HKEY_CURRENT_USER, path, {"dword8", REG_DWORD, QByteArray(8, '\1')});
    store.SetValue(HKEY_CURRENT_USER, path, {"expand", REG_EXPAND_SZ, QByteArray("%HOME%/x\0", 9)});
    store.SetValue(HKEY_CURRENT_USER, path, {"zero", REG_SZ, QByteArray("ab\0cd\0", 6)});
    store.SetValue(HKEY_CURRENT_USER, path, {"noend", REG_SZ, QByteArray("abc")});

    const auto read = [&](const char *name, const TRegistryValue &fallback) {
        return ReadRegistry(HKEY_CURRENT_USER, TestKey, name, fallback);
    };
    EXPECT_EQ(read("sz", TRegistryValue::Integer(5)), TRegistryValue::Integer(5));
    EXPECT_EQ(read("bin4", TRegistryValue::Float(1.5)), TRegistryValue::Float(1.5));
    EXPECT_EQ(read("dword", TRegistryValue::Float(1.5)), TRegistryValue::Float(1.5));
    EXPECT_EQ(read("dword", TRegistryValue::Boolean(false)), TRegistryValue::Boolean(true)); // 7 is true
    EXPECT_EQ(read("dword", TRegistryValue::Text("d")), TRegistryValue::Text("d"));
    EXPECT_EQ(read("dword8", TRegistryValue::Integer(5)), TRegistryValue::Integer(5));
    EXPECT_EQ(read("sz", TRegistryValue::Currency(9)), TRegistryValue::Currency(9));
    EXPECT_EQ(read("expand", TRegistryValue::Text("")), TRegistryValue::Text("%HOME%/x"));
    EXPECT_EQ(read("zero", TRegistryValue::Text("")), TRegistryValue::Text("ab"));
    EXPECT_EQ(read("noend", TRegistryValue::Text("")), TRegistryValue::Text("abc"));
    EXPECT_EQ(read("missing", TRegistryValue::Integer(3)), TRegistryValue::Integer(3));
    EXPECT_EQ(read("dword", TRegistryValue()), TRegistryValue());
}

TEST_F(TRegistryTest, NormalizationExamples)
{
    const auto normalized = [](QString key, QString name) {
        NormalizeRegistryPath(key, name);
        return key + QLatin1Char('|') + name;
    };
    EXPECT_EQ(normalized("\\A\\B\\", "\\\\v"), "A\\B|v");
    EXPECT_EQ(normalized("\\", "\\\\\\v"), "|\\v");
    EXPECT_EQ(normalized("A\\\\", "v"), "A\\|v");
    EXPECT_EQ(normalized("", "\\"), "|");
    EXPECT_EQ(normalized("\\\\A", ""), "\\A|");

    WriteRegistry(HKEY_CURRENT_USER, "\\Software\\X\\", "\\\\v", TRegistryValue::Integer(1));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "Software\\X", "v", TRegistryValue::Integer(0)).AsInteger(), 1);
    WriteRegistry(HKEY_CURRENT_USER, "Software\\X", "\\\\\\w", TRegistryValue::Integer(2));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "Software\\X", "w", TRegistryValue::Integer(0)).AsInteger(), 0);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "Software\\X", "\\\\\\w", TRegistryValue::Integer(0)).AsInteger(), 2);
    auto store = Store();
    QStringList names;
    for (const TRawRegistryValue &value : store.Values(HKEY_CURRENT_USER, "Software\\X"))
        names << value.Name;
    EXPECT_EQ(names, QStringList({"\\w", "v"}));
}

TEST_F(TRegistryTest, KeysAndNamesIgnoreCaseAndRootsOutsideTheSevenMeanTheCurrentUser)
{
    WriteRegistry(0, "Software\\Ostrel\\Ostrel Media Player", "Width", TRegistryValue::Integer(640));
    EXPECT_EQ(
        ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\OSTREL\\ostrel media player", "WIDTH", TRegistryValue::Integer(0))
            .AsInteger(),
        640);
    EXPECT_EQ(
        ReadRegistry(0x12345, "software\\ostrel\\OSTREL MEDIA PLAYER", "width", TRegistryValue::Integer(0)).AsInteger(),
        640);
    EXPECT_EQ(
        ReadRegistry(HKEY_LOCAL_MACHINE, "Software\\Ostrel\\Ostrel Media Player", "Width", TRegistryValue::Integer(7))
            .AsInteger(),
        7);
    WriteRegistry(HKEY_CURRENT_USER, "software\\ostrel\\ostrel media player", "WIDTH", TRegistryValue::Integer(800));
    auto store = Store();
    EXPECT_EQ(store.Values(HKEY_CURRENT_USER, "Software\\Ostrel\\Ostrel Media Player").size(), 1);
    EXPECT_EQ(
        ReadRegistry(HKEY_CURRENT_USER, "Software\\Ostrel\\Ostrel Media Player", "Width", TRegistryValue::Integer(0))
            .AsInteger(),
        800);
}

TEST_F(TRegistryTest, SeveralValuesGoInOneTransactionAndReadThroughOneConnection)
{
    EXPECT_TRUE(WriteRegistryValues(
        HKEY_CURRENT_USER, TestKey,
        {{"Width", TRegistryValue::Integer(640)}, {"\\\\Name", TRegistryValue::Text("/m/list.oml")}}));
    const TRegistryReader reader;
    EXPECT_EQ(reader.Read(HKEY_CURRENT_USER, TestKey, "width", TRegistryValue::Integer(0)).AsInteger(), 640);
    EXPECT_EQ(reader.Read(HKEY_CURRENT_USER, TestKey, "Name", TRegistryValue::Text("")).AsText(), "/m/list.oml");
    EXPECT_EQ(reader.Read(HKEY_CURRENT_USER, TestKey, "Missing", TRegistryValue::Integer(7)).AsInteger(), 7);
    // While another connection holds the write lock, none of the values is written.
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(StorePath()).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(WriteRegistryValues(HKEY_CURRENT_USER, TestKey,
                                    {{"Width", TRegistryValue::Integer(1)}, {"Height", TRegistryValue::Integer(2)}}));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(0)).AsInteger(), 640);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "Height", TRegistryValue::Integer(0)).AsInteger(), 0);
    // A reader of a store that does not exist gives every default.
    QFile::remove(StorePath());
    const TRegistryReader none;
    EXPECT_EQ(none.Read(HKEY_CURRENT_USER, TestKey, "Width", TRegistryValue::Integer(5)).AsInteger(), 5);
}

TEST_F(TRegistryTest, WritingCreatesTheWholeKeyPath)
{
    WriteRegistry(HKEY_CURRENT_USER, "\\A\\B\\C", "", TRegistryValue());
    auto store = Store();
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "A"));
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "a\\b"));
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "A\\B\\C"));
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "A\\B\\C\\D"));
    EXPECT_TRUE(store.Values(HKEY_CURRENT_USER, "A\\B\\C").isEmpty());
    EXPECT_EQ(store.SubKeys(HKEY_CURRENT_USER, "A"), QStringList({"A\\B"}));
}

TEST_F(TRegistryTest, AMissingStoreIsNotCreatedByReading)
{
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(4)).AsInteger(), 4);
    EXPECT_FALSE(QFileInfo::exists(StorePath()));
}

TEST_F(TRegistryTest, AStoreThatIsNoDatabaseGivesDefaultsAndIsLeftAlone)
{
    QDir().mkpath(config.path() + "/Ostrel");
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray junk(5000, 'j');
    file.write(junk);
    file.close();
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(4)).AsInteger(), 4);
    EXPECT_TRUE(WriteRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(5)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), junk);
}

TEST_F(TRegistryTest, AWriteBlockedPastTheBusyTimeoutChangesNothing)
{
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(1));
    sqlite3 *holder = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(StorePath()).constData(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(WriteRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(2)));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(0)).AsInteger(), 1);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(3));
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, "x", TRegistryValue::Integer(0)).AsInteger(), 3);
}

TEST_F(TRegistryTest, TwoProcessesWritingAtOnceLoseNothing)
{
    WriteRegistry(HKEY_CURRENT_USER, TestKey, "start", TRegistryValue::Integer(0));
    const QString script = QStringLiteral("for i in $(seq 1 60); do \"%1\" add 'HKCU\\SOFTWARE\\Ostrel\\Test' "
                                          "/v %2$i /t REG_DWORD /d $i /f >/dev/null || exit 1; done");
    QProcess first, second;
    first.start("bash", {"-c", script.arg(OSTREL_REG, "first")});
    second.start("bash", {"-c", script.arg(OSTREL_REG, "second")});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    for (int i = 1; i <= 60; ++i) {
        EXPECT_EQ(
            ReadRegistry(HKEY_CURRENT_USER, TestKey, QString("first%1").arg(i), TRegistryValue::Integer(0)).AsInteger(),
            i);
        EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, TestKey, QString("second%1").arg(i), TRegistryValue::Integer(0))
                      .AsInteger(),
                  i);
    }
}

} // namespace
