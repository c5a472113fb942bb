#pragma once

// The product's fixed texts.
namespace OEMPConst {

inline constexpr const char *ProductRegistryKey = "\\SOFTWARE\\Ostrel\\Ostrel Media Player";
inline constexpr const char *ProductName = "Ostrel Media Player";
inline constexpr const char *ProductEdition = "Limited Edition";
inline constexpr const char *ProductRelease = "Release 2.2.5";
inline constexpr const char *ProductCopyright = "Copyright (C) 2026 Ostrel Software";
inline constexpr const char *ProductNotice = "";
// The desktop's name for the player: its desktop entry, icon and metainfo are named so.
inline constexpr const char *ApplicationId = "example.ostrel.MediaPlayer";

} // namespace OEMPConst
