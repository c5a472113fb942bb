// Every type of the table of media types, made by a real encoder: Search's "All Media Files"
// finds exactly the media files, and the real engine plays each one.

#include "TDesktopFixture.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "medialist/MediaTypes.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

using TMediaTypesTest = TShownFormFixture;

// Makes a two-second file of the type, as its usual encoder writes it; false when there is no
// encoder for it on this system.
bool Encode(const QString &folder, const QString &extension)
{
    const QStringList tone = {"-f", "lavfi", "-i", "sine=frequency=440:duration=2:sample_rate=44100"};
    const QStringList picture = {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=2", "-pix_fmt", "yuv420p"};
    const auto run = [&](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.setWorkingDirectory(folder);
        process.start(program, arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    };
    const QStringList quiet = {"-v", "error", "-y"};
    const QString out = "s." + extension;
    if (extension == "ape")
        return false; // no encoder of Monkey's Audio is packaged
    if (extension == "mpc")
        return run("ffmpeg", quiet + tone + QStringList{"mpc.wav"}) && run("mpcenc", {"--silent", "mpc.wav", out})
            && QFile::remove(folder + "/mpc.wav");
    const TMediaType *type = MediaTypeOf(out.toLatin1());
    QStringList format;
    if (extension == "m4v")
        format = {"-f", "mp4"}; // by its name alone the encoder writes a bare stream
    return run("ffmpeg", quiet + (type->Kind == TMediaKind::Video ? picture : tone) + format + QStringList{out});
}

TEST_F(TMediaTypesTest, AllMediaFilesFindsEveryTypeOfTheTableAndEachOnePlays)
{
    QList<QByteArray> media;
    QStringList notEncoded;
    for (const TMediaType &type : MediaTypes()) {
        if (type.Kind == TMediaKind::Playlist)
            continue;
        const QString extension = QLatin1String(type.Extension);
        if (!Encode(folder.path(), extension)) {
            folder.WriteFile("s." + extension, "");
            notEncoded << extension;
        }
        media << QFile::encodeName(folder.File("s." + extension));
    }
    EXPECT_EQ(notEncoded, QStringList({"ape"}));
    for (const char *other : {"s.m3u", "s.txt", "s.oml", "s.flac.part"})
        folder.WriteFile(other, "");
    std::sort(media.begin(), media.end(), [](const QByteArray &a, const QByteArray &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });

    dialogs.FileAnswers.push_back([this](TFileDialog &dialog) {
        dialog.FilterIndex = 10;
        dialog.Files = QStringList{folder.path() + "/*"};
        return true;
    });
    form->miSearch->trigger();
    EXPECT_EQ(form->SearchType(), TSearchType::AllMedia);
    ASSERT_EQ(form->lbFiles->Texts(), media);

    // The audio first: the engine takes seconds to come back to sound after a video.
    std::vector<int> rows(size_t(form->lbFiles->Count()));
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_partition(rows.begin(), rows.end(), [&](int row) {
        return MediaTypeOf(form->lbFiles->Text(row))->Kind == TMediaKind::Audio;
    });
    for (const int row : rows) {
        const QByteArray name = form->lbFiles->Text(row);
        if (name.endsWith(".ape"))
            continue;
        form->lbFiles->SetItemIndex(row);
        form->sbPlayClick(form->sbPlay);
        EXPECT_EQ(form->StatusText(), "Playing") << name.constData();
        EXPECT_GT(form->FMediaPlayer->Length(), 500u) << name.constData();
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->FMediaPlayer->Position() >= 150; }, 5000))
            << name.constData() << " does not move";
        form->sbStopClick(form->sbStop);
    }
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
}

} // namespace
