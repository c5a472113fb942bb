// Even Out Loudness as it is heard: files tagged with a track gain of -10 dB, played by the
// real engine on the null sink, recorded from its monitor.

#include "TDesktopFixture.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "window/WindowValues.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QtEndian>
#include <cmath>

namespace {

using TEvenLoudnessTest = TDesktopFixture;

// The level of what was heard, from the samples above the noise, in dB of full scale.
double HeardLevel(const QByteArray &recording)
{
    double sum = 0;
    qint64 count = 0;
    for (qsizetype i = 0; i + 1 < recording.size(); i += 2) {
        const double sample = qFromLittleEndian<qint16>(recording.constData() + i) / 32768.0;
        if (std::abs(sample) > 0.002) {
            sum += sample * sample;
            ++count;
        }
    }
    return count ? 10 * std::log10(sum / double(count)) : -200;
}

TEST_F(TEvenLoudnessTest, AFileTaggedMinusTenDecibelsIsHeardTenDecibelsQuieterOnlyWithTheOption)
{
    if (!Session->HasSound())
        GTEST_SKIP() << "no PulseAudio null sink to record";
    const struct {
        const char *Name;
        QStringList Tagging;
        double Change;
    } files[] = {{"replaygain.flac",
                  {"-metadata", "REPLAYGAIN_TRACK_GAIN=-10.00 dB", "-metadata", "REPLAYGAIN_TRACK_PEAK=0.5"},
                  -10},
                 {"untagged.flac", {}, 0}};
    auto form = CreateFormMediaPlayer();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (const auto &file : files) {
        const QString path = folder.File(file.Name);
        QProcess encoder;
        encoder.start(
            "ffmpeg",
            QStringList{"-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-af", "volume=0.5"} // an eighth of full scale, halved
                + file.Tagging + QStringList{path});
        ASSERT_TRUE(encoder.waitForFinished(20000) && encoder.exitCode() == 0)
            << encoder.readAllStandardError().constData();
        form->miRemoveAll->trigger();
        form->lbFiles->Append(QFile::encodeName(path));
        double level[2];
        for (const bool even : {false, true}) {
            if (form->miEvenOutLoudness->isChecked() != even)
                form->miEvenOutLoudness->trigger();
            EXPECT_EQ(StoredOption::Read(StoredOption::EvenOutLoudness), even);
            const QString recording = folder.path() + QStringLiteral("/%1-%2.raw").arg(file.Name).arg(even);
            auto recorder = Session->StartRecording(recording);
            QTest::qWait(150);
            form->lbFiles->SetItemIndex(0);
            form->sbPlayClick(form->sbPlay);
            // Played to 0.6 s into the medium, however long the first open takes to start the engine.
            ASSERT_TRUE(QTest::qWaitFor([&] { return form->FMediaPlayer->Position() >= 600; }, 8000));
            form->sbCloseClick(form->sbClose); // the next play starts from the beginning
            QTest::qWait(150);
            recorder->terminate();
            recorder->waitForFinished(2000);
            level[even] = HeardLevel(folder.ReadFile(QFileInfo(recording).fileName()));
        }
        EXPECT_NEAR(level[0], 20 * std::log10(0.5 / 8 / std::sqrt(2.0)), 1.5) << file.Name << ": as it is";
        EXPECT_NEAR(level[1] - level[0], file.Change, 1) << file.Name;
    }
    form->miEvenOutLoudness->trigger(); // off again for the tests after
}

} // namespace
