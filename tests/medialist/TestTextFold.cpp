#include "medialist/TextFold.h"

#include <QList>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace {

TEST(TextFold, HashAgreesWithSameText)
{
    const QList<QPair<QByteArray, QByteArray>> equal = {{"ABC", "abc"},
                                                        {"\xC3\x84", "\xC3\xA4"},
                                                        {"\xE2\x84\xAA", "k"},
                                                        {"", ""},
                                                        {"\xFF"
                                                         "A",
                                                         "\xFF"
                                                         "a"}};
    for (const auto &[a, b] : equal) {
        EXPECT_TRUE(TextFold::SameText(a, b)) << a.toStdString();
        EXPECT_EQ(TextFold::Hash(a), TextFold::Hash(b)) << a.toStdString();
    }
    EXPECT_FALSE(TextFold::SameText("abc", "abd"));
    EXPECT_FALSE(TextFold::SameText("\xFF", "\xFE"));
    EXPECT_FALSE(TextFold::SameText("a", "a "));
    EXPECT_FALSE(TextFold::SameText("[", "{")); // only letters fold
}

// Every byte next to the edges of the capitals and the small letters, NUL, and bytes that
// are no ASCII, at every length around the eight-byte steps of the hash.
TEST(TextFold, HashIgnoresOnlyTheCaseOfAsciiLettersAtEveryLengthAndPosition)
{
    const QByteArray alphabet("@AZ[`az{\x00\x7F\x80\xC3\xDF\xFF", 14);
    std::mt19937 random(20261208);
    std::set<uint32_t> hashes;
    int texts = 0;
    for (int length = 0; length <= 40; ++length) {
        for (int trial = 0; trial < 50; ++trial) {
            QByteArray text;
            for (int i = 0; i < length; ++i)
                text += alphabet[qsizetype(random() % uint32_t(alphabet.size()))];
            QByteArray swapped = text;
            for (char &c : swapped)
                if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
                    c = char(c ^ 0x20);
            EXPECT_EQ(TextFold::Hash(text), TextFold::Hash(swapped)) << text.toHex().constData();
            EXPECT_EQ(TextFold::Hash(text), TextFold::Hash(TextFold::Folded(text))) << text.toHex().constData();
            hashes.insert(TextFold::Hash(TextFold::Folded(text)));
            ++texts;
        }
    }
    // Different folded texts almost never share a hash (repeats of short texts do).
    EXPECT_GT(int(hashes.size()), texts * 9 / 10);
    EXPECT_NE(TextFold::Hash(QByteArray("a", 1)), TextFold::Hash(QByteArray("a\0", 2)));
}

} // namespace
