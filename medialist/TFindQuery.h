#pragma once

#include <QByteArrayView>
#include <QString>
#include <string>
#include <vector>

// What the user typed to find entries: its words, split at blanks and folded for finding. A text
// matches when every word occurs in it anywhere; no character is a pattern.
class TFindQuery {
public:
    TFindQuery() = default;
    explicit TFindQuery(const QString &text);

    // No words: every text matches.
    bool Empty() const { return words_.empty(); }
    // scratch holds the folded text; kept by the caller so that a scan allocates once.
    bool Matches(QByteArrayView text, std::string &scratch) const;
    // Whether every text this query matches is matched by the other one too, as when letters
    // were typed after it: then only the other's matches need to be looked at again.
    bool Narrows(const TFindQuery &wider) const;

private:
    static bool Contains(const std::string &text, const std::string &word);

    std::vector<std::string> words_; // the longest first: it rules out the most texts
    bool asciiOnly_ = true;
};
