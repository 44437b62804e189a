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

// Where the text appears, the room it has and the rules it follows.
std::string Comment(const CatalogueText& text) {
    std::string comment = text.where;
    int units = 0;
    std::string where;
    if (RoomInDialogUnits(text, &units, &where)) {
        comment += " Room: " + std::to_string(units) + " dialog units, about " +
                   std::to_string(units / 4) + " characters of the dialog font.";
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
