#pragma once

#include <optional>

// What is kept between runs in values of their own under the subkey "Window" of the product
// key, apart from the twelve settings.

// The volume the user last chose, in percent, kept between runs in a value of its own
// ("Volume") under the subkey "Window" of the product key, apart from the twelve settings.
namespace StoredVolume {

// Nothing when no volume is stored or the stored value is no number; a number outside
// 0 to 100 is taken as the nearest end.
std::optional<int> Read();
void Write(int percent);

} // namespace StoredVolume

// The options beyond the twelve settings, off until the user checks them.
namespace StoredOption {

constexpr const char *EvenOutLoudness = "EvenOutLoudness";

// Off when the value is missing or no number.
bool Read(const char *name);
void Write(const char *name, bool on);

} // namespace StoredOption
