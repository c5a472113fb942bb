#pragma once

// The product's fixed texts.
namespace OEMPConst {

inline constexpr const char *ProductName = "Ostrel Media Player";

} // namespace OEMPConst
