#include "TStoreFixture.h"
#include "registry/RegTool.h"

namespace {

class TRegToolTest : public TStoreFixture {
protected:
    int Run(const QStringList &arguments, bool answer = false)
    {
        out.clear();
        err.clear();
        QTextStream outStream(&out), errStream(&err);
        const int code = RunRegTool(arguments, outStream, errStream, [&](const QString &question) {
            questions << question;
            return answer;
        });
        outStream.flush();
        errStream.flush();
        return code;
    }

    QString out, err;
    QStringList questions;
};

const QString Player = "HKCU\\SOFTWARE\\Ostrel\\Ostrel Media Player";

TEST_F(TRegToolTest, AddThenQueryInTheLayoutOfReg)
{
    EXPECT_EQ(Run({"add", Player, "/v", "Width", "/t", "REG_DWORD", "/d", "600"}), 0);
    EXPECT_EQ(out, "The operation completed successfully.\n");
    EXPECT_EQ(Run({"add", Player, "/v", "DefaultFile", "/t", "REG_SZ", "/d", "/home/u/a b.oml"}), 0);
    EXPECT_EQ(Run({"add", Player, "/v", "Path", "/t", "REG_EXPAND_SZ", "/d", "%HOME%"}), 0);
    EXPECT_EQ(Run({"add", Player, "/v", "Blob", "/t", "REG_BINARY", "/d", "00000000000008c0"}), 0);
    EXPECT_EQ(Run({"add", Player + "\\Sub"}), 0);
    EXPECT_EQ(Run({"query", Player}), 0);
    EXPECT_EQ(out, "\nHKEY_CURRENT_USER\\SOFTWARE\\Ostrel\\Ostrel Media Player\n"
                   "    Blob    REG_BINARY    00000000000008C0\n"
                   "    DefaultFile    REG_SZ    /home/u/a b.oml\n"
                   "    Path    REG_EXPAND_SZ    %HOME%\n"
                   "    Width    REG_DWORD    0x258\n"
                   "\n"
                   "HKEY_CURRENT_USER\\SOFTWARE\\Ostrel\\Ostrel Media Player\\Sub\n");
    EXPECT_EQ(Run({"query", "HKEY_CURRENT_USER\\software\\ostrel\\ostrel media player", "/v", "width"}), 0);
    EXPECT_EQ(out, "\nHKEY_CURRENT_USER\\software\\ostrel\\ostrel media player\n    Width    REG_DWORD    0x258\n\n");
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "Software\\Ostrel\\Ostrel Media Player", "Width",
                           TRegistryValue::Integer(0)).AsInteger(), 600);
}

TEST_F(TRegToolTest, OverwritingAsksUnlessForced)
{
    Run({"add", Player, "/v", "Top", "/t", "REG_DWORD", "/d", "0x10"});
    EXPECT_EQ(Run({"add", Player, "/v", "Top", "/t", "REG_DWORD", "/d", "5"}, false), 0);
    EXPECT_EQ(questions, QStringList({"Value Top exists, overwrite(Yes/No)? "}));
    EXPECT_EQ(out, "The operation was canceled by the user.\n");
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Ostrel Media Player", "Top",
                           TRegistryValue::Integer(0)).AsInteger(), 16);
    EXPECT_EQ(Run({"add", Player, "/v", "Top", "/t", "REG_DWORD", "/d", "5", "/f"}), 0);
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Ostrel Media Player", "Top",
                           TRegistryValue::Integer(0)).AsInteger(), 5);
}

TEST_F(TRegToolTest, DeleteValuesAndKeys)
{
    Run({"add", Player, "/v", "A", "/d", "x"});
    Run({"add", Player + "\\Deep\\Er", "/v", "B", "/d", "y"});
    EXPECT_EQ(Run({"delete", Player, "/v", "a"}, true), 0);
    EXPECT_EQ(questions, QStringList({"Delete the registry value a (Yes/No)? "}));
    EXPECT_EQ(Run({"query", Player, "/v", "A"}), 1);
    EXPECT_EQ(err, "ERROR: The system was unable to find the specified registry key or value.\n");
    EXPECT_EQ(Run({"delete", "HKCU\\SOFTWARE\\Ostrel", "/f"}), 0);
    EXPECT_EQ(Run({"query", Player + "\\Deep\\Er"}), 1);
    EXPECT_EQ(Run({"delete", Player, "/f"}), 1);
}

TEST_F(TRegToolTest, BadCommandsFailWithAClearMessage)
{
    EXPECT_EQ(Run({"query", Player}), 1); // no store yet
    EXPECT_EQ(Run({}), 1);
    EXPECT_TRUE(err.startsWith("usage: ostrel-reg query KEY"));
    EXPECT_EQ(Run({"add", "HKXX\\A"}), 1);
    EXPECT_TRUE(err.startsWith("ERROR: Invalid key name: HKXX\\A\n"));
    EXPECT_EQ(Run({"add", Player, "/v", "W", "/t", "REG_DWORD", "/d", "twelve"}), 1);
    EXPECT_TRUE(err.startsWith("ERROR: Invalid REG_DWORD data: twelve\n"));
    EXPECT_EQ(Run({"add", Player, "/v", "W", "/t", "REG_BINARY", "/d", "abc"}), 1);
    EXPECT_EQ(Run({"add", Player, "/v", "W", "/t", "REG_QWORD", "/d", "1"}), 1);
    EXPECT_EQ(Run({"add", Player, "/x"}), 1);
    EXPECT_EQ(Run({"frobnicate", Player}), 1);
    EXPECT_TRUE(err.startsWith("ERROR: Unknown command: frobnicate\n"));
}

TEST_F(TRegToolTest, AStoreThatIsNoDatabaseIsReported)
{
    QDir().mkpath(config.path() + "/Ostrel");
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    EXPECT_EQ(Run({"query", Player}), 1);
    EXPECT_TRUE(err.startsWith("ERROR: registry store:")) << err.toStdString();
}

} // namespace
