#pragma once

#include <optional>

// The volume the user last chose, in percent, kept between runs in a value of its own
// ("Volume") under the subkey "Window" of the product key, apart from the twelve settings.
namespace StoredVolume {

// Nothing when no volume is stored or the stored value is no number; a number outside
// 0 to 100 is taken as the nearest end.
std::optional<int> Read();
void Write(int percent);

} // namespace StoredVolume
