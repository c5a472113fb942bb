#include "TFormFixture.h"
#include "controls/TOECheckListBox.h"
#include "medialist/ByteText.h"
#include "registry/OERegistry.h"
#include "registry/TRegistryDatabase.h"

#include <QAction>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(ByteText, AnyBytesComeBackExactlyAndValidUtf8ReadsAsItself)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(int(random() % 40), '\0');
        for (char &byte : bytes)
            byte = char(random() % 4 == 0 ? random() % 0x80 : 0x80 + random() % 0x80);
        ASSERT_EQ(TextBytes(ByteText(bytes)), bytes) << bytes.toHex().constData();
    }
    const QByteArray utf8 = "/home/j\xC3\xBCrgen/\xF0\x9F\x8E\xB5.mp3";
    EXPECT_EQ(ByteText(utf8), QString::fromUtf8(utf8));
    EXPECT_EQ(TextBytes(QString::fromUtf8(utf8)), utf8);
    // Overlong forms, encoded surrogates and stray continuation bytes are no UTF-8.
    for (const QByteArray &odd : {QByteArray("\xC0\xAF"), QByteArray("\xED\xB2\x80"), QByteArray("\x80"),
                                  QByteArray("caf\xE9"), QByteArray("\xF4\x90\x80\x80")})
        EXPECT_EQ(TextBytes(ByteText(odd)), odd) << odd.toHex().constData();
    EXPECT_EQ(ByteText("caf\xE9"), QString("caf") + QChar(0xDCE9));
    EXPECT_EQ(DisplayedText(ByteText("caf\xE9")), QString("caf") + QChar(0xFFFD));
}

// The exit code and standard output of a program given arguments as raw bytes.
std::pair<int, QByteArray> RunWithBytes(const char *program, const QList<QByteArray> &arguments)
{
    int pipe[2];
    if (::pipe(pipe) != 0)
        return {-1, {}};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipe[1], STDOUT_FILENO);
        ::close(pipe[0]);
        std::vector<char *> argv{const_cast<char *>(program)};
        for (const QByteArray &argument : arguments)
            argv.push_back(const_cast<char *>(argument.constData()));
        argv.push_back(nullptr);
        ::execv(program, argv.data());
        ::_exit(127);
    }
    ::close(pipe[1]);
    QByteArray output;
    char chunk[4096];
    for (ssize_t got; (got = ::read(pipe[0], chunk, sizeof chunk)) > 0;)
        output.append(chunk, got);
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

using TBytePathTest = TFormFixture;

TEST_F(TBytePathTest, ALatin1StartFolderKeepsItsListAndItsStoredNameByteForByte)
{
    const QByteArray start = QFile::encodeName(folder.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(start.constData(), 0755), 0);
    ASSERT_EQ(::chdir(start.constData()), 0);
    {
        auto form = CreateFormMediaPlayer();
        EXPECT_EQ(dialogs.Messages, QStringList({"File not found"})); // a first start
        EXPECT_EQ(form->windowTitle(), "Ostrel Media Player - " + folder.path() + "/caf\uFFFD/default-List.oml");
        form->lbFiles->AppendEntries({{"/m/a.mp3", true}});
        form->miExit->trigger();
    }
    EXPECT_EQ(::access((start + "/default-List.oml").constData(), R_OK), 0);
    TRegistryDatabase store(TRegistryDatabase::DefaultPath(), TRegistryDatabase::TOpenMode::ReadOnly);
    const auto stored = store.Value(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Ostrel Media Player", "DefaultFile");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Data, start + "/default-List.oml" + '\0');
    dialogs.Messages.clear();
    auto again = CreateFormMediaPlayer();
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
    EXPECT_EQ(again->lbFiles->Entries(), (QList<TListEntry>{{"/m/a.mp3", true}}));
    ::unlink((start + "/default-List.oml").constData());
    ::chdir(QFile::encodeName(folder.path()).constData());
    ::rmdir(start.constData()); // Qt cannot name it to clean it up
}

TEST_F(TBytePathTest, TheCommandLineToolTakesAndGivesBytes)
{
    const QByteArray key = "HKCU\\SOFTWARE\\Ostrel\\Ostrel Media Player";
    const QByteArray latin1 = "/music/caf\xE9.oml";
    auto [added, addOutput] = RunWithBytes(OSTREL_REG, {"add", key, "/v", "DefaultFile", "/d", latin1, "/f"});
    EXPECT_EQ(added, 0) << addOutput.constData();
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Ostrel Media Player", "DefaultFile",
                           TRegistryValue::Text(""))
                  .AsText(),
              ByteText(latin1));
    auto [queried, output] = RunWithBytes(OSTREL_REG, {"query", key, "/v", "DefaultFile"});
    EXPECT_EQ(queried, 0);
    EXPECT_TRUE(output.contains("    DefaultFile    REG_SZ    " + latin1 + "\n")) << output.toHex().constData();
}

} // namespace
