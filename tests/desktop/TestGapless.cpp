// Track changes as they are heard: one tone cut into files at sample boundaries, played by the
// real engine on the null sink and recorded from its monitor, must come out as one tone.

#include "TDesktopFixture.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QtEndian>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Frequency = 441; // at 44.1 kHz a period is 100 samples: every piece starts alike
constexpr double Amplitude = 0.5;

QByteArray Le(quint32 value, int bytes)
{
    QByteArray out(4, '\0');
    qToLittleEndian(value, out.data());
    return out.left(bytes);
}

// A piece of the tone: mono 16-bit samples from a third of a period on, so that no cut falls
// on a zero crossing.
QByteArray TonePiece(int rate, int samples)
{
    QByteArray data;
    for (int i = 0; i < samples; ++i) {
        const double value = Amplitude * std::sin(2 * Pi * Frequency * i / rate + Pi / 3);
        data += Le(quint32(qint16(std::lround(value * 32767))), 2);
    }
    return "RIFF" + Le(quint32(36 + data.size()), 4) + "WAVEfmt " + Le(16, 4) + Le(1, 2) + Le(1, 2)
        + Le(quint32(rate), 4) + Le(quint32(rate * 2), 4) + Le(2, 2) + Le(16, 2) + "data" + Le(quint32(data.size()), 4)
        + data;
}

struct THeard {
    int LongestQuiet = 0; // samples in a row near zero, between the first and the last sound
    int LargestStep = 0; // between neighbouring samples
};

THeard Examine(const QByteArray &recording)
{
    QList<int> samples;
    for (qsizetype i = 0; i + 1 < recording.size(); i += 2)
        samples << qFromLittleEndian<qint16>(recording.constData() + i);
    const auto loud = [](int sample) { return std::abs(sample) > 2000; };
    const qsizetype first = std::find_if(samples.begin(), samples.end(), loud) - samples.begin();
    const qsizetype last = samples.rend() - std::find_if(samples.rbegin(), samples.rend(), loud) - 1 - 100;
    THeard heard;
    int quiet = 0;
    for (qsizetype i = first; i < last; ++i) {
        quiet = std::abs(samples[i]) < 300 ? quiet + 1 : 0;
        heard.LongestQuiet = std::max(heard.LongestQuiet, quiet);
        heard.LargestStep = std::max(heard.LargestStep, std::abs(samples[i + 1] - samples[i]));
    }
    return heard;
}

using TGaplessTest = TDesktopFixture;

TEST_F(TGaplessTest, OneToneCutIntoFilesIsHeardWholeInOrderAtRandomAndAcrossSampleRates)
{
    if (!Session->HasSound())
        GTEST_SKIP() << "no PulseAudio null sink to record";
    const int toneStep = int(std::ceil(2 * Pi * Frequency / 44100 * Amplitude * 32767));
    const struct {
        const char *Name;
        QList<int> Rates;
        bool Random;
        int MostQuietSamples; // in a row, at 44.1 kHz
    } cases[] = {{"in order", {44100, 44100, 44100}, false, 3},
                 {"at random", {44100, 44100, 44100}, true, 3},
                 {"44.1 kHz then 48 kHz", {44100, 48000}, false, 882}}; // 20 ms
    auto form = CreateFormMediaPlayer();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (const auto &c : cases) {
        form->miRemoveAll->trigger();
        QList<QByteArray> names;
        for (int piece = 0; piece < c.Rates.size(); ++piece) {
            const QString name = QStringLiteral("%1-%2.wav").arg(c.Name).arg(piece);
            // About 0.7 s, whole periods at 44.1 kHz
            folder.WriteFile(name, TonePiece(c.Rates[piece], c.Rates[piece] * 7 / 1000 * 100));
            names << QFile::encodeName(folder.File(name));
        }
        if (!c.Random)
            names << QFile::encodeName(folder.File("missing.wav")); // its failed open ends the advances
        form->AddEntries(names);
        (c.Random ? form->miRandom : form->miInOrder)->trigger();
        dialogs.Messages.clear();
        const QString recording = folder.path() + QStringLiteral("/%1.raw").arg(c.Name);
        auto recorder = Session->StartRecording(recording);
        QTest::qWait(150);
        form->lbFiles->SetItemIndex(c.Random ? -1 : 0);
        QList<int> played;
        form->RunCommand([&] { form->sbPlayClick(form->sbPlay); });
        played << form->lbFiles->ItemIndex();
        // Each change is the player's usual one: the entry current, marked, and "Playing" shown.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const int current = form->lbFiles->ItemIndex();
                if (current != played.last() && current < int(c.Rates.size())) {
                    played << current;
                    EXPECT_TRUE(form->lbFiles->Checked(current)) << c.Name;
                    EXPECT_EQ(form->StatusText(), "Playing") << c.Name;
                }
                return c.Random ? played.size() == 3 : !form->Playing();
            },
            6000))
            << c.Name;
        if (c.Random) {
            QTest::qWait(500);
            form->RunCommand([&] { form->sbStopClick(form->sbStop); });
            EXPECT_EQ(QSet<int>(played.begin(), played.end()).size(), 3) << "one cycle, each entry once";
        } else {
            EXPECT_EQ(played.size(), c.Rates.size()) << c.Name;
            EXPECT_EQ(dialogs.Messages.first(),
                      "Unable to open media file \"" + folder.File("missing.wav") + "\": The file does not exist.");
        }
        QTest::qWait(200);
        recorder->terminate();
        recorder->waitForFinished(2000);
        const THeard heard = Examine(folder.ReadFile(QFileInfo(recording).fileName()));
        EXPECT_LE(heard.LongestQuiet, c.MostQuietSamples) << c.Name;
        if (c.MostQuietSamples == 3) {
            EXPECT_LE(heard.LargestStep, toneStep * 11 / 10) << c.Name;
        }
    }
}

} // namespace
