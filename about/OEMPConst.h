#pragma once

// The product's fixed texts.
namespace OEMPConst {

inline constexpr const char *ProductRegistryKey = "\\SOFTWARE\\Ostrel\\Ostrel Media Player";
inline constexpr const char *ProductName = "Ostrel Media Player";

} // namespace OEMPConst
