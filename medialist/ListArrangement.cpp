#include "medialist/ListArrangement.h"

#include "medialist/SortKey.h"
#include "medialist/TextFold.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unordered_map>

namespace {

// Every key in one buffer: a million keys of their own would cost a million allocations.
struct TKeys {
    std::string Bytes;
    std::vector<size_t> Starts; // one more than there are keys

    std::string_view At(int row) const
    {
        return std::string_view(Bytes).substr(Starts[size_t(row)], Starts[size_t(row) + 1] - Starts[size_t(row)]);
    }
};

TKeys KeysOf(const TEntryRun &run, int first, int end, ListArrangement::TSortBy by)
{
    TKeys keys;
    keys.Starts.reserve(size_t(end - first) + 1);
    std::string key;
    std::string scratch;
    for (int row = first; row < end; ++row) {
        const QByteArrayView text = run.Texts.View(size_t(row));
        SortKey::Make(by == ListArrangement::TSortBy::FileName ? SortKey::FileName(text) : text, key, scratch);
        keys.Starts.push_back(keys.Bytes.size());
        keys.Bytes += key;
    }
    keys.Starts.push_back(keys.Bytes.size());
    return keys;
}

bool NamesRegularFile(const QByteArray &path)
{
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

namespace ListArrangement {

std::vector<int> Sorted(const TEntryRun &run, TSortBy by)
{
    // Each half keyed and sorted on a thread of its own, then merged: the machine's two cores.
    const int count = run.Count();
    const int half = count / 2;
    TKeys lower;
    TKeys upper;
    std::vector<int> rows(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    const auto key = [&](int row) { return row < half ? lower.At(row) : upper.At(row - half); };
    const auto before = [&](int a, int b) { return key(a) < key(b); };
    std::thread second([&] {
        upper = KeysOf(run, half, count, by);
        std::stable_sort(rows.begin() + half, rows.end(), before);
    });
    lower = KeysOf(run, 0, half, by);
    std::stable_sort(rows.begin(), rows.begin() + half, before);
    second.join();
    // Ties keep their order: the lower half's rows come first in the merge.
    std::inplace_merge(rows.begin(), rows.begin() + half, rows.end(), before);
    return rows;
}

std::vector<int> Reversed(int count)
{
    std::vector<int> rows(static_cast<size_t>(count));
    std::iota(rows.rbegin(), rows.rend(), 0);
    return rows;
}

TKept WithoutDuplicates(const TEntryRun &run)
{
    TKept kept;
    // By hash, the positions in kept of the texts kept so far.
    std::unordered_multimap<uint32_t, int> byHash;
    byHash.reserve(size_t(run.Count()));
    for (int row = 0; row < run.Count(); ++row) {
        const uint32_t hash = run.Hashes[size_t(row)];
        const QByteArray text = run.Text(row);
        int equal = -1;
        for (auto [at, end] = byHash.equal_range(hash); at != end && equal < 0; ++at)
            if (TextFold::SameText(run.Text(kept.Rows[size_t(at->second)]), text))
                equal = at->second;
        if (equal >= 0) {
            kept.Marks[size_t(equal)] |= run.Marks[size_t(row)];
            continue;
        }
        byHash.emplace(hash, int(kept.Rows.size()));
        kept.Rows.push_back(row);
        kept.Marks.push_back(run.Marks[size_t(row)]);
    }
    return kept;
}

std::vector<int> NamingFiles(const TEntryRun &run, const QByteArray &folder, const std::atomic<bool> &stop)
{
    std::vector<int> rows;
    for (int row = 0; row < run.Count() && !stop.load(std::memory_order_relaxed); ++row) {
        const QByteArray text = run.Text(row);
        if (!text.contains(char(0)) && NamesRegularFile(text.startsWith('/') ? text : folder + '/' + text))
            rows.push_back(row);
    }
    return rows;
}

} // namespace ListArrangement
