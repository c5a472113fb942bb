#include "medialist/TFindQuery.h"

#include "medialist/FindFold.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {

// Comparing every pair of words costs the square of their number: a pasted page skips it.
constexpr size_t WordsCompared = 64;

std::vector<QString> Words(const QString &text)
{
    std::vector<QString> words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool blank = i == text.size() || text[i].isSpace();
        if (blank && start >= 0) {
            words.push_back(text.mid(start, i - start));
            start = -1;
        } else if (!blank && start < 0) {
            start = i;
        }
    }
    return words;
}

} // namespace

TFindQuery::TFindQuery(const QString &text)
{
    std::unordered_set<std::string> seen;
    for (const QString &word : Words(text)) {
        std::string folded;
        const QByteArray bytes = word.toUtf8();
        FindFold::Fold(QByteArrayView(bytes), folded);
        // A word of nothing but accents folds to nothing, which every text holds.
        if (folded.empty() || !seen.insert(folded).second)
            continue;
        asciiOnly_ = asciiOnly_ && std::none_of(folded.begin(), folded.end(), [](char c) { return c & 0x80; });
        words_.push_back(std::move(folded));
    }
    std::stable_sort(words_.begin(), words_.end(),
                     [](const std::string &a, const std::string &b) { return a.size() > b.size(); });
    if (words_.size() <= WordsCompared) {
        // A word inside a longer one is found wherever that one is.
        std::vector<std::string> kept;
        for (std::string &word : words_)
            if (std::none_of(kept.begin(), kept.end(),
                             [&](const std::string &longer) { return Contains(longer, word); }))
                kept.push_back(std::move(word));
        words_ = std::move(kept);
    }
}

bool TFindQuery::Contains(const std::string &text, const std::string &word)
{
    // Words are short and texts a line: looking for the first letter and comparing from there
    // beats a general substring search, which sets up tables for every text.
    if (word.size() > text.size())
        return false;
    const char *at = text.data();
    const char *const last = text.data() + (text.size() - word.size());
    while (at <= last) {
        const auto *found = static_cast<const char *>(std::memchr(at, word[0], size_t(last - at) + 1));
        if (!found)
            return false;
        if (std::memcmp(found + 1, word.data() + 1, word.size() - 1) == 0)
            return true;
        at = found + 1;
    }
    return false;
}

bool TFindQuery::Matches(QByteArrayView text, std::string &scratch) const
{
    if (words_.empty())
        return true;
    const bool ascii = FindFold::Fold(text, scratch);
    if (ascii && !asciiOnly_)
        return false; // a word with a letter beyond ASCII is in no ASCII text
    return std::all_of(words_.begin(), words_.end(), [&](const std::string &word) { return Contains(scratch, word); });
}

bool TFindQuery::Narrows(const TFindQuery &wider) const
{
    if (words_.size() > WordsCompared || wider.words_.size() > WordsCompared)
        return false;
    return std::all_of(wider.words_.begin(), wider.words_.end(), [&](const std::string &word) {
        return std::any_of(words_.begin(), words_.end(), [&](const std::string &mine) { return Contains(mine, word); });
    });
}
