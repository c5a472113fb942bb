#include "medialist/TFindQuery.h"
#include "medialist/TListFilter.h"
#include "medialist/TMediaEntries.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

bool Matches(const QString &query, const QByteArray &text)
{
    std::string scratch;
    return TFindQuery(query).Matches(QByteArrayView(text), scratch);
}

TEST(TFindQuery, EveryWordAnywhereIgnoringCaseAndAccentsWithNoPatterns)
{
    const struct {
        const char *Query;
        QByteArray Text;
        bool Found;
    } cases[] = {
        {"beatles help", "/music/The Beatles/Help!/01 Help.mp3", true},
        {"help BEATLES", "/music/The Beatles/Help!/01 Help.mp3", true},
        {"beatles abbey", "/music/The Beatles/Help!/01 Help.mp3", false},
        {"beyonce", "/music/Beyonc\xC3\xA9/Halo.flac", true}, // composed é
        {"BEYONC\xC3\x89", "/music/Beyonce\xCC\x81/Halo.flac", true}, // typed É, decomposed é on disk
        {"beyoncé", "/music/Beyonce/Halo.flac", true},
        {"strasse",
         "/music/Stra\xC3\x9F"
         "e/x.ogg",
         true}, // ß folds to ss
        {"\xC3\xB8", "/music/Sigur R\xC3\xB3s/\xC3\x98.mp3", true}, // ø has no accent to drop
        {"o", "/music/\xC3\x98.mp3", false},
        {"*.mp3", "/music/a.mp3", false},
        {"*", "/music/a*b.mp3", true},
        {"a?c", "/abc", false},
        {"[ab]", "/x[ab].wav", true},
        {"[ab]", "/xa.wav", false},
        {"\\", "/a\\b", true},
        {"\xEF\xBF\xBD", "/bad\xFFname.mp3", true}, // matched as the list shows it
        {"badname", "/bad\xFFname.mp3", false},
        {"   ", "/anything", true}, // blanks only: no words
        {"\xCC\x81", "/anything", true}, // a lone accent folds to nothing
        {"", "", true},
        {"a", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Matches(QString::fromUtf8(c.Query), c.Text), c.Found) << c.Query << " in " << c.Text.toStdString();
}

TEST(TFindQuery, AHundredKilobyteQueryIsAnsweredInBoundedTime)
{
    const QByteArray text = "/home/user/Music/Artist/Album/01 Title.mp3";
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Matches(QString(100 * 1024, QChar('a')), text));
    QString words;
    for (int i = 0; i < 20000; ++i)
        words += QString::number(i) + QChar(' ');
    const TFindQuery many(words);
    std::string scratch;
    for (int i = 0; i < 10000; ++i)
        EXPECT_FALSE(many.Matches(QByteArrayView(text), scratch));
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(TFindQuery, NarrowsOnlyWhatItsMatchesAreASubsetOf)
{
    EXPECT_TRUE(TFindQuery("ved").Narrows(TFindQuery("ve")));
    EXPECT_TRUE(TFindQuery("help beatles").Narrows(TFindQuery("beat")));
    EXPECT_FALSE(TFindQuery("ve").Narrows(TFindQuery("ved")));
    EXPECT_FALSE(TFindQuery("beatles").Narrows(TFindQuery("help beat")));
}

// The filter against the plain answer, while the list changes under a scan that runs in the
// smallest slices.
class TListFilterTest : public testing::Test {
protected:
    std::vector<int> Expected(const QString &query) const
    {
        std::vector<int> rows;
        for (int row = 0; row < entries.Count(); ++row)
            if (Matches(query, entries.Text(row)))
                rows.push_back(row);
        return rows;
    }
    std::vector<int> Shown() const
    {
        if (!filter.ShowsAll())
            return filter.Shown();
        std::vector<int> all(size_t(entries.Count()));
        std::iota(all.begin(), all.end(), 0);
        return all;
    }
    // One slice, as the model takes it.
    void Slice()
    {
        if (filter.Scan(std::chrono::nanoseconds(0)) != TListFilter::TChange::None)
            filter.TakeMatches();
    }
    void Finish()
    {
        do
            Slice();
        while (filter.Scanning());
    }
    void Append(int count, std::mt19937 &random)
    {
        const int first = entries.Count();
        QList<QByteArray> texts;
        for (int i = 0; i < count; ++i)
            texts << "/music/" + words[random() % words.size()] + '/' + words[random() % words.size()] + ".mp3";
        entries.Append(texts);
        filter.Appended(first);
    }
    void Remove(int row)
    {
        entries.RemoveAt(row);
        filter.Removed(row);
    }

    const std::vector<QByteArray> words = {"Alpha", "Beta", "Gamma", "Delta", "B\xC3\xA9ta", "alphabet"};
    TMediaEntries entries;
    TListFilter filter{entries};
};

TEST_F(TListFilterTest, TheMatchesFollowTheListAsItChangesDuringAndAfterEachScan)
{
    std::mt19937 random(27);
    Append(3000, random);
    for (const QString query : {"al", "alp", "alpha", "al", "beta mp3", "BETA", "zzz", "", "a", "music"}) {
        filter.SetQuery(TFindQuery(query));
        Slice();
        Remove(int(random() % uint32_t(entries.Count())));
        Append(700, random);
        Slice();
        Remove(int(random() % uint32_t(entries.Count())));
        Remove(entries.Count() - 1);
        Finish();
        EXPECT_EQ(Shown(), Expected(query)) << query.toStdString();
        Append(1100, random); // after the scan: only the new rows are looked at
        Remove(0);
        Finish();
        EXPECT_EQ(Shown(), Expected(query)) << query.toStdString() << ", after it";
    }
    filter.SetQuery(TFindQuery("delta"));
    Finish();
    entries.Clear(); // Remove All, then a Load
    filter.Cleared();
    Append(500, random);
    Finish();
    EXPECT_EQ(Shown(), Expected("delta"));
    EXPECT_FALSE(filter.ShowsAll());
}

TEST_F(TListFilterTest, AQueryEveryEntryMatchesShowsAllUntilAnAddedOneDoesNot)
{
    std::mt19937 random(1);
    Append(2000, random);
    filter.SetQuery(TFindQuery("MUSIC"));
    Finish();
    EXPECT_TRUE(filter.ShowsAll()); // the view keeps its rows and its layout
    entries.Append(QByteArray("/elsewhere/x.mp3"));
    filter.Appended(entries.Count() - 1);
    Finish();
    EXPECT_FALSE(filter.ShowsAll());
    EXPECT_EQ(Shown(), Expected("music"));
    filter.SetQuery(TFindQuery());
    EXPECT_TRUE(filter.ShowsAll());
    EXPECT_EQ(filter.Shown().capacity(), 0u); // nothing left behind
}

} // namespace
