#pragma once

#include <QByteArray>
#include <cstdint>

// Entry texts are bytes; lookups compare them ignoring letter case.
// Valid UTF-8 is folded the Unicode way, anything else byte by byte (ASCII letters only),
// so no two different invalid byte strings are ever taken for the same text.
namespace TextFold {

QByteArray Folded(const QByteArray &text);

// Equal for every pair of texts that SameText calls equal.
uint32_t Hash(const QByteArray &text);

bool SameText(const QByteArray &a, const QByteArray &b);

} // namespace TextFold
