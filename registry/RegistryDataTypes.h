#pragma once

#include <cstdint>

// Registry data types, by their numbers in the registry.
enum TRegistryDataType : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
};
