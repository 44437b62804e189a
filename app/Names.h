#pragma once
// Fixed names of the product on the medium, on disk, in the Start Menu and
// in the registry.

// The product folder on the medium, in the install root and in the Start
// Menu; also the game shortcut's description.
inline constexpr char kProductFolder[] = "The Vellmor";
inline constexpr char kGameExe[] = "Vellmor.exe";
inline constexpr char kSetupExe[] = "Setup.exe";

// Where the installation folder is recorded, under HKEY_LOCAL_MACHINE.
inline constexpr char kRegistryKey[] = "Software\\Brightfen\\The Vellmor";
inline constexpr char kInstallPathValue[] = "InstallPath";

// The language offered first and used when the medium lists none.
inline constexpr char kDefaultLanguage[] = "English";
