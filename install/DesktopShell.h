#pragma once
// Starting a program as the user of the desktop rather than as setup.

// Asks the desktop's shell (Explorer) to start `program` (a quoted path) in
// the folder `folder`, so that it runs as the logged-on user, unelevated,
// when setup runs elevated on Windows Vista or later. Only then is the
// shell asked: on older Windows, or with a token that is not elevated, it
// returns false at once. Also false when no shell window answers or any
// call fails. True when the shell accepted the start. COM is initialised for the duration of the
// call only.
bool StartAsDesktopUser(const char* program, const char* folder);

// Starts `name` in `folder`, quoted (a folder with spaces must never run
// "C:\Program.exe"), as the player: through the desktop's shell when setup
// runs elevated on Vista or later, so that neither the game nor the
// installation's setup gets an administrator's rights (when no shell
// answers there, not at all); itself on older Windows. The working
// directory stays as it is.
void StartAsPlayer(const char* folder, const char* name);
