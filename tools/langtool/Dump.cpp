// langtool dump: a table back in the source format.

#include <stdlib.h>

#include <string>

#include "CodePage.h"
#include "Commands.h"
#include "SourceFormat.h"
#include "text/LanguageTable.h"

namespace langtool {

namespace {

// Prints record `index`. Empty texts are left out, except for the last
// record, which keeps the table's length when the dump is built again.
bool DumpRecord(CLanguageTable& table, int index, bool last, unsigned codePage, FILE* out,
                FILE* err) {
    char* block = table.GetString(index);
    if (block == nullptr) {
        fprintf(err, "langtool: %s: record %d has no readable text (see langtool check)\n",
                table.GetBasePath(), index);
        return false;
    }
    std::string bytes(block);
    free(block);
    if (bytes.empty() && !last) {
        return true;
    }
    std::string utf8;
    if (CodePageToUtf8(codePage, bytes, &utf8) != ConvertResult::Ok) {
        fprintf(err, "langtool: %s: record %d holds bytes that are not text in code page %u\n",
                table.GetBasePath(), index, codePage);
        return false;
    }
    fprintf(out, "%d\t%s\n", index, EscapeText(utf8).c_str());
    return true;
}

} // namespace

int Dump(const std::string& base, unsigned codePage, FILE* out, FILE* err) {
    std::string probe;
    if (CodePageToUtf8(codePage, "", &probe) == ConvertResult::Unsupported) {
        fprintf(err, "langtool: code page %u is not supported here\n", codePage);
        return kExitFailed;
    }
    if (!IsReadableBase(base, err)) {
        return kExitFailed;
    }
    CLanguageTable table;
    table.Load(base.c_str());
    int count = table.GetCount();
    // The code page line first: building the dump gives the same table.
    fprintf(out, "# codepage: %u\n# %d records; indexes not listed hold empty texts\n", codePage,
            count);
    bool ok = true;
    for (int index = 0; index < count; ++index) {
        ok = DumpRecord(table, index, index == count - 1, codePage, out, err) && ok;
    }
    return ok ? kExitOk : kExitFailed;
}

} // namespace langtool
