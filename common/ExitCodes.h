#pragma once
// Setup's exit status: what a script that runs it learns. docs/unattended.md
// has the same table.

enum SetupExit {
    kExitInstalled = 0,
    kExitNoMedium = -1,     // no CD-ROM drive holds the game's disc
    kExitWindowFailed = 1,  // the dialog could not be opened
    kExitUsage = 2,         // unknown switch, missing value, unknown /LANG, unwritable /LOG
    kExitPathRefused = 3,   // relative, too long, or the folder cannot be made
    kExitNoSpace = 4,       // the drive lacks space for the game
    kExitCopyFailed = 5,    // the game's files could not be copied or put in the game folder's
                            // place (or the copy was cancelled): an earlier installation stays
    kExitIncomplete = 6,    // installed, but a step after the copy failed; uninstalled, but a
                            // recorded file or the registry entries could not be removed
    kExitRecordRefused = 7, // the uninstall record is missing or damaged: nothing removed
    kExitDeclined = 8,      // the user answered No to uninstalling
    kExitNotElevated = 9,   // administrator rights were declined, or the elevated part could not
                            // start: nothing was written
    kExitLinkRefused = 10,  // a folder on the way to the game folder is a link to another
                            // folder: nothing was written or removed
    kExitNotFromHome = 11,  // the uninstaller does not run from its folder below
                            // <Program Files>\Brightfen, or cannot name the folder it
                            // runs from: nothing removed
    kExitFilesInUse = 12,   // a program holds files of the earlier installation (the game
                            // is running): nothing was written or removed

    // Another installation or removal of the game is running: Windows
    // Installer's ERROR_INSTALL_ALREADY_RUNNING.
    kExitSetupRunning = 1618,
};

// Whether setup's elevated part, ending with `code`, has said nothing of
// why: a command line it refused (a language its disc no longer offers), or
// an end that is not setup's own (a crash's exception code, a process ended
// from outside). It tells the player of every other end itself.
inline constexpr bool EndedWithoutWord(int code) {
    return code == kExitUsage || code == kExitWindowFailed || code < kExitNoMedium || code > 0xFFFF;
}
