#include "medialist/EListError.h"
#include "medialist/TTextPool.h"
#include "medialist/TextFold.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// The plain list the pool must behave like.
struct TReferencePool {
    QList<QByteArray> texts;

    int IndexOf(const QByteArray &text) const
    {
        for (int i = 0; i < texts.size(); ++i)
            if (TextFold::SameText(texts[i], text))
                return i;
        return -1;
    }
};

TEST(TextPool, BehavesLikeAPlainListUnderRandomOperations)
{
    std::mt19937 random(7);
    const QList<QByteArray> words = {"a", "A", "b", "c", "C", "d", "e"};
    TTextPool pool;
    TReferencePool reference;
    for (int step = 0; step < 40000; ++step) {
        const QByteArray word = words[int(random() % size_t(words.size()))];
        switch (random() % 6) {
        case 0:
        case 1:
            pool.Append(word);
            reference.texts.append(word);
            break;
        case 2: {
            const int found = reference.IndexOf(word);
            EXPECT_EQ(pool.RemoveFirst(word), found >= 0);
            if (found >= 0)
                reference.texts.removeAt(found);
            break;
        }
        case 3:
            if (!reference.texts.isEmpty()) {
                const int position = int(random() % size_t(reference.texts.size()));
                EXPECT_EQ(pool.At(position), reference.texts[position]);
                pool.RemoveAt(position);
                reference.texts.removeAt(position);
            }
            break;
        case 4:
            EXPECT_EQ(pool.IndexOf(word), reference.IndexOf(word));
            break;
        default:
            if (random() % 500 == 0) {
                pool.Clear();
                reference.texts.clear();
            }
            break;
        }
        ASSERT_EQ(pool.Count(), reference.texts.size());
    }
    EXPECT_EQ(pool.Texts(), reference.texts);
}

TEST(TextPool, DrainingALargePoolKeepsOrderAndLookups)
{
    TTextPool pool;
    QList<QByteArray> texts;
    for (int i = 0; i < 20000; ++i)
        texts << "track" + QByteArray::number(i);
    pool.Append(texts);
    for (int i = 0; i < 15000; ++i)
        pool.RemoveAt(0);
    EXPECT_EQ(pool.Count(), 5000);
    EXPECT_EQ(pool.At(0), "track15000");
    EXPECT_EQ(pool.IndexOf("TRACK19999"), 4999);
    EXPECT_EQ(pool.IndexOf("track1"), -1);
}

TEST(TextPool, OutOfRangeRaisesTheListIndexError)
{
    TTextPool pool;
    EXPECT_THROW(pool.At(0), EListError);
    EXPECT_THROW(pool.RemoveAt(-1), EListError);
    pool.Append("x");
    EXPECT_THROW(pool.At(1), EListError);
    EXPECT_FALSE(pool.RemoveFirst("y"));
    EXPECT_EQ(pool.Count(), 1);
}

} // namespace
