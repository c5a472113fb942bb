#include "medialist/SharedSlice.h"
#include "medialist/TTextStore.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

namespace {

// A large buffer of texts, each followed by a NUL, the way a list file read whole holds them.
struct TLargeBuffer {
    explicit TLargeBuffer(int count)
    {
        for (int i = 0; i < count; ++i) {
            Starts.push_back(Bytes.size());
            Bytes += "/music/track-" + QByteArray::number(i) + ".mp3";
            Sizes.push_back(Bytes.size() - Starts.back());
            Bytes += '\0';
        }
    }
    // The text as a QByteArray that shares the buffer.
    QByteArray Text(int i)
    {
        return SharedSlice(Bytes, Bytes.constData() + Starts[size_t(i)], Sizes[size_t(i)]);
    }
    QByteArray Bytes;
    std::vector<qsizetype> Starts;
    std::vector<qsizetype> Sizes;
};

TEST(TextStore, TextsOfALargeBufferStayInItAndTheBufferIsLetGoWithTheLast)
{
    TLargeBuffer buffer(5000);
    ASSERT_GE(buffer.Bytes.capacity(), 64 * 1024);
    TTextStore store;
    for (int i = 0; i < 5000; ++i)
        store.Append(buffer.Text(i));
    EXPECT_EQ(store.At(4321), "/music/track-4321.mp3");
    EXPECT_EQ(store.At(4321).constData(), buffer.Bytes.constData() + buffer.Starts[4321]);
    EXPECT_FALSE(buffer.Bytes.isDetached());
    while (!store.Empty())
        store.RemoveAt(store.Size() - 1);
    EXPECT_TRUE(buffer.Bytes.isDetached()) << "the store still holds the buffer";
}

TEST(TextStore, SmallAndRawTextsAreCopiedAndEveryTextIsNulTerminated)
{
    TTextStore store;
    QByteArray small("/a.mp3");
    char raw[] = "raw bytes";
    store.Append(small);
    store.Append(QByteArray::fromRawData(raw, 3));
    store.Append(QByteArray("with\0nul", 8));
    store.Append(QByteArray());
    small[1] = 'X';
    raw[0] = 'X';
    EXPECT_EQ(store.At(0), "/a.mp3");
    EXPECT_EQ(store.At(1), "raw");
    EXPECT_EQ(store.At(2), QByteArray("with\0nul", 8));
    EXPECT_EQ(store.At(3), "");
    for (size_t i = 0; i < store.Size(); ++i)
        EXPECT_EQ(store.At(i).constData()[store.At(i).size()], '\0') << i;
}

TEST(TextStore, ATextHandedOutIsAValueOfItsOwn)
{
    TTextStore store;
    store.Append("first");
    store.Append("second");
    QByteArray taken = store.At(0);
    taken.append(" and more");
    taken[0] = 'F';
    store.Append("third");
    EXPECT_EQ(store.At(0), "first");
    EXPECT_EQ(store.At(1), "second");
    EXPECT_EQ(store.At(2), "third");
    EXPECT_EQ(taken, "First and more");
    const QByteArray kept = store.At(1);
    store.Clear();
    EXPECT_EQ(kept, "second") << "a text outlives the store's hold on its block";
}

TEST(TextStore, BehavesLikeAVectorOfTextsUnderRandomOperations)
{
    std::mt19937 random(11);
    TLargeBuffer buffer(3000);
    TTextStore store;
    std::vector<QByteArray> reference;
    // Taken now and then and put back later, as an undo step is.
    std::optional<std::pair<TTextStore::TSnapshot, std::vector<QByteArray>>> kept;
    for (int step = 0; step < 60000; ++step) {
        switch (random() % 10) {
        case 0:
        case 1: {
            const QByteArray text = buffer.Text(int(random() % 3000));
            store.Append(text);
            reference.push_back(text);
            break;
        }
        case 2:
        case 3: {
            // Long enough now and then to need a block of its own.
            const QByteArray text(qsizetype(random() % 7 == 0 ? 70000 + random() % 100 : random() % 300),
                                  char('a' + random() % 26));
            store.Append(text);
            reference.push_back(text);
            break;
        }
        case 4:
            if (!reference.empty()) {
                const size_t position = random() % reference.size();
                store.Append(store.At(position));
                reference.push_back(reference[position]);
            }
            break;
        case 5:
            if (!reference.empty()) {
                const size_t position = random() % reference.size();
                store.RemoveAt(position);
                reference.erase(reference.begin() + qsizetype(position));
            }
            break;
        case 6:
            if (!reference.empty()) {
                const size_t position = random() % reference.size();
                store.Release(position);
                reference[position] = QByteArray();
            }
            break;
        case 7: {
            // Some rows from a first one on, picked in another order, replace those rows.
            const size_t first = reference.empty() ? 0 : random() % reference.size();
            std::vector<int> picks;
            std::vector<QByteArray> picked;
            for (size_t i = first; i < reference.size(); ++i)
                if (random() % 3 != 0) {
                    picks.push_back(int(i));
                    picked.push_back(reference[i]);
                }
            std::reverse(picks.begin(), picks.end());
            std::reverse(picked.begin(), picked.end());
            store.ReplaceFrom(first, store.Snapshot(picks));
            reference.resize(first);
            reference.insert(reference.end(), picked.begin(), picked.end());
            break;
        }
        case 8:
            if (random() % 50 == 0)
                kept.emplace(store.SnapshotFrom(0), reference);
            else if (kept && random() % 50 == 0) {
                store.ReplaceFrom(0, kept->first);
                reference = kept->second;
            }
            break;
        default:
            if (random() % 2000 == 0) {
                store.Clear();
                reference.clear();
            }
            break;
        }
        ASSERT_EQ(store.Size(), reference.size());
        if (!reference.empty()) {
            const size_t position = random() % reference.size();
            ASSERT_EQ(store.At(position), reference[position]) << step;
        }
    }
    for (size_t i = 0; i < reference.size(); ++i)
        ASSERT_EQ(store.At(i), reference[i]) << i;
}

} // namespace
