#pragma once
// Fixed names of the product on the medium, on disk, in the Start Menu and
// in the registry.

// The product folder on the medium, in the install root and in the Start
// Menu; also the game shortcut's description.
inline constexpr char kProductFolder[] = "The Vellmor";
inline constexpr char kGameExe[] = "Vellmor.exe";
inline constexpr char kSetupExe[] = "Setup.exe";

// The install root offered when no installation is recorded.
inline constexpr char kDefaultInstallRoot[] = "C:\\Program Files";

// Where the installation folder is recorded, under HKEY_LOCAL_MACHINE.
inline constexpr char kRegistryKey[] = "Software\\Brightfen\\The Vellmor";
inline constexpr char kInstallPathValue[] = "InstallPath";

// The language offered first and used when the medium lists none.
inline constexpr char kDefaultLanguage[] = "English";

// Language tables are file pairs sharing a base name. On the medium the
// base is "Languages\<language>", the language named as the list shows it;
// in the installation the chosen pair is "language.poo" and "language.sif".
inline constexpr char kLanguagesFolder[] = "Languages";
inline constexpr char kInstalledLanguage[] = "language";
// Setup's own texts of the language (text/SetupPair.h): on the medium
// "Languages\Setup\<language>", beside the uninstaller "setup.poo" and
// "setup.sif".
inline constexpr char kSetupTexts[] = "setup";
inline constexpr char kPoolExtension[] = ".poo";
inline constexpr char kIndexExtension[] = ".sif";

// The renderer library on the medium ("Glide\Glide2x.dll"), copied into the
// installation when the machine has no Glide driver, and the product's own
// Glide setup helper, which is then removed.
inline constexpr char kGlideFolder[] = "Glide";
inline constexpr char kGlideLibrary[] = "Glide2x.dll";
inline constexpr char kSetupGlide[] = "SetupGlide.dll";
// The Glide 2.x driver, which installs itself into the system folder.
inline constexpr char kGlideDriver[] = "glide2x.dll";

// Written into the installation.
inline constexpr char kVersionFile[] = "Version.ver";

// The installation is built in a folder of setup's own beside the game
// folder, "~Vellmor.<4 hex digits>" (short: every path of the
// installation must fit there too, one folder deeper), and the earlier game folder waits inside it
// as "Earlier" until the player's files have left it. A player's file whose name the new
// installation also has keeps its bytes under its name and this suffix.
inline constexpr char kOwnFolderFormat[] = "%s\\~Vellmor.%04x";
inline constexpr char kEarlierFolder[] = "Earlier";
inline constexpr char kPlayersSuffix[] = ".players";

// The Start Menu folder's links: Setup's, and the game's, which is named
// after the product folder.
inline constexpr char kSetupLink[] = "Setup.lnk";
inline constexpr char kSetupLinkDescription[] = "Setup";
inline constexpr char kLinkExtension[] = ".lnk";

// The uninstaller, a copy of setup's own program, and its record of what
// setup made (record/UninstallRecord.h), both in a folder of their own
// below Program Files (record/UninstallerHome.h).
inline constexpr char kUninstallExe[] = "Uninstall.exe";
// The log of the last elevated run, in the folder of every installation's
// uninstaller, where only administrators may write.
inline constexpr char kElevatedLog[] = "Setup.log";
// The entry that Apps & features (Add or Remove Programs) lists, under
// HKEY_LOCAL_MACHINE, and the maker it names.
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\The Vellmor";
inline constexpr char kMakerKey[] = "Software\\Brightfen";
inline constexpr char kPublisher[] = "Brightfen";
inline constexpr char kUninstallRecord[] = "Uninstall.log";

// The mutex that lets one installation or removal run at a time on the
// machine, in the global namespace that every session shares; the name
// after that namespace's prefix also marks setup's window.
inline constexpr char kSetupLock[] = "Global\\Brightfen The Vellmor Setup";
inline constexpr unsigned kGlobalPrefixLength = sizeof "Global\\" - 1;
