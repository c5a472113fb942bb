#pragma once

// The numeric codes of the input/output error (EInOutError) that list files raise. Each has
// its fixed text; any other code reads "I/O error" and the number.
namespace InOutCode {

inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFileName = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int NotEnoughMemory = 8;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int InvalidNumericInput = 106;

} // namespace InOutCode
