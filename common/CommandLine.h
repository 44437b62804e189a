#pragma once
// Setup's command line, for scripted installs:
//   /VERYSILENT or /S      install without any window
//   /DIR="C:\Games"        the install-path text (/D=C:\Games, last and
//                          unquoted, means the same)
//   /LANG=Deutsch          a language of the medium
//   /LOG="C:\setup.log"    one line per step (not with /ELEVATED: the
//                          elevated part keeps its own log, which the
//                          player's run copies into this one)
//   /UNINSTALL             remove the installation whose record sits
//                          beside this program (no /DIR or /LANG)
//   /ELEVATED              (setup's own) this is the elevated part that a
//                          run without administrator rights started: it
//                          does the work itself
//   /OWNER=HWND            (setup's own, with /ELEVATED) install with the
//                          dialog's messages, owned by that window
//   /SOURCE=D:\            (setup's own, with /ELEVATED) the disc's root
//                          that the player's run found
//   /GLIDE                 (setup's own, with /OWNER) the dialog's Glide
//                          check box was checked
// Switch names are case-insensitive; a value may be quoted, in whole or in
// part. C runtime only, so that it builds and is tested natively.

#include "common/PathRules.h"

// The switches' names without their "/": the one spelling setup reads them
// by and writes them in (the elevated part's command line, the uninstall
// entry's commands).
inline constexpr char kSwitchVerySilent[] = "VERYSILENT";
inline constexpr char kSwitchSilent[] = "S";
inline constexpr char kSwitchDir[] = "DIR";
inline constexpr char kSwitchLang[] = "LANG";
inline constexpr char kSwitchLog[] = "LOG";
inline constexpr char kSwitchUninstall[] = "UNINSTALL";
inline constexpr char kSwitchElevated[] = "ELEVATED";
inline constexpr char kSwitchOwner[] = "OWNER";
inline constexpr char kSwitchSource[] = "SOURCE";
inline constexpr char kSwitchGlide[] = "GLIDE";

struct SetupOptions {
    bool silent;
    bool uninstall;
    PathBuffer folder; // empty: not given
    PathBuffer language;
    PathBuffer log;
    bool elevated;
    unsigned long owner; // 0: not given
    PathBuffer source;   // empty: not given
    bool glide;
};

// Reads `arguments` (the command line after the program's name) into
// `options`. False on an unknown switch, a switch without the value it
// needs or with one it takes none, a value that does not fit, a word that
// is no switch, a folder or language given to the uninstaller, or a log
// given to the elevated part; `bad` (a buffer of `badSize` bytes) then
// names it.
bool ParseCommandLine(const char* arguments, SetupOptions& options, char* bad, size_t badSize);

// The command line that hands `options` over to the elevated part: the
// same switches but the log (the disc's root and the Glide check box as
// `options` has them), and /ELEVATED. False when it does not fit or a value
// holds a quote, which could not be handed over as it is.
bool FormatElevatedCommandLine(char* buffer, size_t size, const SetupOptions& options);

// `value` for a log line: in double quotes, with each control character,
// double quote and "<" written as "<XX>" (its byte in hexadecimal), so that
// no value can end the quotes or the line and a log can never be read as a
// command. Cut to fit `size` bytes (the quotes kept) when it is longer.
void QuoteLogValue(const char* value, char* quoted, size_t size);

// The command line after the program's name, quoted or not.
const char* SkipProgramName(const char* commandLine);
