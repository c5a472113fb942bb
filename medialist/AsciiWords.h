#pragma once

#include <cstdint>
#include <cstring>

// Eight bytes of a text at a time: whether any is no ASCII, and the ASCII capitals lowered.
namespace AsciiWords {

constexpr uint64_t HighBits = 0x8080808080808080ULL;
constexpr uint64_t Ones = 0x0101010101010101ULL;

inline uint64_t Word(const char *bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Every ASCII capital of the eight bytes lowered in one step; other bytes stay.
inline uint64_t LoweredWord(uint64_t word)
{
    const uint64_t low7 = word & ~HighBits;
    const uint64_t atLeastA = low7 + Ones * (0x80 - 'A');
    const uint64_t aboveZ = low7 + Ones * (0x80 - 'Z' - 1);
    const uint64_t capitals = atLeastA & ~aboveZ & ~word & HighBits;
    return word | (capitals >> 2);
}

inline char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

} // namespace AsciiWords
