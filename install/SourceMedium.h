#pragma once
// The machine's probes: which CD-ROM drive holds the game's disc, which
// languages the disc offers, and whether a Glide driver is installed.

// The first CD-ROM drive whose disc holds the game, into `root` (MAX_PATH
// bytes, "D:\"); false when none does.
bool FindMediumRoot(char* root);

// Whether `root` is a CD-ROM drive's root ("D:\") whose disc holds the
// game: what the scan accepts, and all the elevated part accepts of the
// root that the player's run hands it.
bool IsProductMedium(const char* root);

// Calls `found` with the name of every language the Languages folder below
// `sourceRoot` ("" for the working directory) offers, as the list names it;
// with a null `found`, stops at the first. Whether there was one.
bool ForEachLanguage(const char* sourceRoot, void (*found)(const char* name, void* context),
                     void* context);

// Whether the working directory's Languages folder offers a language.
inline bool MediumHasLanguages() {
    return ForEachLanguage("", nullptr, nullptr);
}

// The language the dialog selects first on the medium at `sourceRoot`:
// English, else the first in the list's order, else English when there is
// none; and whether `name` is one the medium offers.
void DefaultLanguage(const char* sourceRoot, char (&name)[260]);
bool MediumOffersLanguage(const char* sourceRoot, const char* name);

// Whether a Glide driver is installed in the system folder.
bool GlideDriverInstalled();
