#include "medialist/SortKey.h"

#include "medialist/FindFold.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Two digits of length before the digits themselves, so that a longer number comes later; the
// leading zeros go ("007" is 7) but break a tie after all ("7" before "07").
void AppendNumber(const std::string &folded, size_t &at, std::string &key, std::string &zeros)
{
    size_t start = at;
    while (start < folded.size() && folded[start] == '0' && start + 1 < folded.size() && IsDigit(folded[start + 1]))
        ++start;
    size_t end = start;
    while (end < folded.size() && IsDigit(folded[end]))
        ++end;
    const size_t length = std::min<size_t>(end - start, 99);
    key.push_back(char('0' + length / 10));
    key.push_back(char('0' + length % 10));
    key.append(folded, start, end - start);
    zeros.push_back(char('0' + std::min<size_t>(start - at, 9)));
    at = end;
}

} // namespace

namespace SortKey {

void Make(QByteArrayView text, std::string &key, std::string &scratch)
{
    FindFold::Fold(text, scratch);
    key.clear();
    key.reserve(scratch.size() + 8);
    std::string zeros;
    for (size_t at = 0; at < scratch.size();) {
        if (IsDigit(scratch[at]))
            AppendNumber(scratch, at, key, zeros);
        else
            key.push_back(scratch[at++]);
    }
    if (!zeros.empty()) {
        key.push_back('\0');
        key += zeros;
    }
}

QByteArrayView FileName(QByteArrayView path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.sliced(slash + 1);
}

} // namespace SortKey
