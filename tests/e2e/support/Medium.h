#pragma once
// Installation media for the test drives. A Medium describes a disc; its
// files are laid out in a drive's folder when it is inserted. Files are
// read-only, as on a pressed CD, unless Writable() is asked for.
//
//   InsertDisc('E', Medium::Product().WithLanguage("Deutsch", {{658, "..."}}));
//   EjectDisc('E');   // the drive stays, without a disc

#include <string>
#include <utility>
#include <vector>

#include "Where.h"

namespace e2e {

// Language texts by index, as WriteLanguageTable takes them.
using Texts = std::vector<std::pair<int, std::string>>;

// A full set of English dialog texts (every index setup asks for), each of
// `changes` replacing the text of its index or added.
Texts EnglishTexts(const Texts& changes = {});

// Writes `base`.sif and `base`.poo with WriteLanguageTable.
void WriteLanguage(const std::string& base, const Texts& texts, Where where = Where::Here());

// The message with which setup ends when no drive holds its disc.
constexpr const char kNoMediumText[] =
    "Please Insert The Vellmor CD in a CD ROM drive and run Setup again";
constexpr const char kNoMediumCaption[] = "Vellmor CD Not Found";

class Medium {
  public:
    // The product's disc: "The Vellmor\Vellmor.exe" and "The Vellmor\Setup.exe"
    // (stub programs that log their start), "Languages\English.sif/.poo"
    // with EnglishTexts(), "Glide\Glide2x.dll".
    static Medium Product();
    // Some other program's disc: no "The Vellmor" folder.
    static Medium Foreign();
    // A disc with nothing on it.
    static Medium Blank() { return Medium(); }

    // The product folder without "Vellmor.exe".
    Medium& WithoutGame() { return Without("The Vellmor\\Vellmor.exe"); }
    Medium& WithoutGlide() { return Without("Glide\\Glide2x.dll"); }
    Medium& WithoutLanguages();
    // Adds a language as mkmedium lays it out: "Languages\<name>.sif/.poo",
    // the game's table, with the texts setup reads from it and `gameOwn`
    // (the game's own texts, at any index), and, when `texts` holds any of
    // setup's own, "Languages\Setup\<name>.sif/.poo", setup's pair with
    // them (text/SetupPair.h). Written with WriteLanguageTable.
    Medium& WithLanguage(const std::string& name, const Texts& texts, const Texts& gameOwn = {});
    // Adds a language whose texts are all in its game's table, as on media
    // made before setup had its own pair.
    Medium& WithOldLanguage(const std::string& name, const Texts& texts);
    // A file with the given contents, path relative to the disc's root.
    Medium& WithFile(const std::string& path, const std::string& contents);
    // A copy of an existing file.
    Medium& WithCopyOf(const std::string& path, const std::string& source);
    Medium& Without(const std::string& path);
    // Leaves the files writable (a disc image on a hard disk, say).
    Medium& Writable() {
        readOnly_ = false;
        return *this;
    }
    // Makes the folders read-only too (on Linux: Wine keeps no read-only
    // attribute of its own for folders).
    Medium& ReadOnlyFolders();

    // Lays the disc out below `folder` (which must exist or be creatable).
    void WriteTo(const std::string& folder, Where where = Where::Here()) const;

  private:
    struct File {
        std::string path;
        std::string contents; // used when source is empty
        std::string source;
    };
    struct Language {
        std::string name;
        Texts game;
        Texts setup; // empty: no setup pair
    };
    std::vector<File> files_;
    std::vector<Language> languages_;
    bool readOnly_ = true;
    bool readOnlyFolders_ = false;
};

// Puts `medium` into CD-ROM drive `letter` (replacing any disc in it), or
// onto the fixed disk kFixedDrive. Works while programs run.
void InsertDisc(char letter, const Medium& medium, Where where = Where::Here());
// Takes the disc out: the drive stays (a CD-ROM drive in the drive mask and
// list) but has no root folder, as a drive without a disc. The drives of a
// new test hold no disc.
void EjectDisc(char letter, Where where = Where::Here());

} // namespace e2e
