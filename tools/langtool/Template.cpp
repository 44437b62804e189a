// langtool pot and catalogue: the texts setup reads, as the translators'
// template and as a list for scripts.

#include <string>

#include "Catalogue.h"
#include "Commands.h"
#include "Po.h"

namespace langtool {

namespace {

const char kTemplateHeader[] = "Project-Id-Version: The Vellmor Setup\n"
                               "Report-Msgid-Bugs-To: \n"
                               "PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\n"
                               "Last-Translator: FULL NAME <EMAIL@ADDRESS>\n"
                               "Language-Team: LANGUAGE <LL@li.org>\n"
                               "Language: \n"
                               "MIME-Version: 1.0\n"
                               "Content-Type: text/plain; charset=CHARSET\n"
                               "Content-Transfer-Encoding: 8bit\n";

// Words of the English that are a name or the system's own, with what a
// translator does with them: the note goes with every text holding the word.
const struct {
    const char* word;
    const char* note;
} kGlossary[] = {
    {"Setup", "\"Setup\" is the name of this program: keep it, or say what your language's "
              "Windows calls a setup program."},
    {"Start Menu", "\"Start Menu\" is the system's own: use the name your language's Windows "
                   "gives it."},
    {"CD ROM", "\"CD ROM\" is the system's own: use the word your language's Windows uses for "
               "the drive."},
    {"Version", "\"Version\" is the name of a file in the game's folder: keep it as it is."},
    {"No", "\"No\" is the system's button: use the word your language's Windows shows on it."},
};

bool IsWordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Whether `text` holds `word` as a whole word, in its case.
bool HoldsWord(const std::string& text, const std::string& word) {
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        size_t end = at + word.size();
        if ((at == 0 || !IsWordCharacter(text[at - 1])) &&
            (end == text.size() || !IsWordCharacter(text[end]))) {
            return true;
        }
    }
    return false;
}

// "about 14 Latin letters, 12 Cyrillic or Greek or 7 CJK characters of the
// dialog font": the room in each script group's letters.
std::string InLetters(int units, bool bold) {
    return "about " + std::to_string(LettersInRoom(units, kLatin, bold)) + " Latin letters, " +
           std::to_string(LettersInRoom(units, kCyrillicGreek, bold)) + " Cyrillic or Greek or " +
           std::to_string(LettersInRoom(units, kCjk, bold)) + " CJK characters of the dialog font";
}

// Where the text appears, the room it has and the rules it follows.
std::string Comment(const CatalogueText& text) {
    std::string comment = text.where;
    for (const auto& term : kGlossary) {
        comment += HoldsWord(text.english, term.word) ? std::string(" ") + term.note : "";
    }
    int units = 0;
    std::string where;
    bool bold = text.place == kInTitleBar;
    if (RoomInDialogUnits(text, &units, &where)) {
        comment +=
            " Room: " + std::to_string(units) + " dialog units, " + InLetters(units, bold) + ".";
    }
    if (text.place == kInFolderPicker) {
        comment += " Room: " + std::to_string(kPickerLines) + " lines of " +
                   std::to_string(kPickerLineWidth) + " dialog units, each " +
                   InLetters(kPickerLineWidth, false) + ".";
    }
    if (text.accelerators == kDialogAccelerator) {
        comment += " One '&' marks its access key, which must differ from the other buttons'.";
    }
    if (text.longest != 0) {
        comment += " At most " + std::to_string(text.longest) + " bytes in the code page.";
    }
    return comment + "\n";
}

} // namespace

int WriteTemplate(FILE* out, FILE* err) {
    PoFile po;
    po.header = kTemplateHeader;
    po.headerComment = "The texts of The Vellmor Setup, written by langtool pot.\n"
                       "Translators: see docs/languages.md.\n";
    for (const CatalogueText& text : kTextCatalogue) {
        PoEntry entry;
        entry.context = text.name;
        entry.english = text.english;
        entry.comment = Comment(text);
        po.entries.push_back(entry);
    }
    std::string data;
    if (!FormatPo(po, true, &data, err)) {
        return kExitFailed;
    }
    fputs(data.c_str(), out);
    return kExitOk;
}

int PrintCatalogue(FILE* out) {
    for (const CatalogueText& text : kTextCatalogue) {
        fprintf(out, "%d\t%s\t%s\n", text.index, text.name, text.where);
    }
    return kExitOk;
}

} // namespace langtool
