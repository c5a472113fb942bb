#include "window/WindowValues.h"

#include "about/OEMPConst.h"
#include "registry/OERegistry.h"

#include <algorithm>
#include <limits>

namespace {

const char *const ValueName = "Volume";

QString WindowKey()
{
    return QString::fromLatin1(OEMPConst::ProductRegistryKey) + QStringLiteral("\\Window");
}

} // namespace

namespace StoredVolume {

std::optional<int> Read()
{
    // A value that is missing or of another type reads as the default, which no volume is.
    constexpr int32_t NoneStored = std::numeric_limits<int32_t>::min();
    const int32_t stored
        = ReadRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(ValueName), TRegistryValue::Integer(NoneStored))
              .AsInteger();
    if (stored == NoneStored)
        return std::nullopt;
    return std::clamp(stored, 0, 100);
}

void Write(int percent)
{
    WriteRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(ValueName),
                  TRegistryValue::Integer(std::clamp(percent, 0, 100)));
}

} // namespace StoredVolume

namespace StoredOption {

bool Read(const char *name)
{
    return ReadRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(name), TRegistryValue::Integer(0)).AsInteger()
        == 1;
}

void Write(const char *name, bool on)
{
    WriteRegistry(HKEY_CURRENT_USER, WindowKey(), QLatin1String(name), TRegistryValue::Integer(on ? 1 : 0));
}

} // namespace StoredOption
