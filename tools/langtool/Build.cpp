// langtool build and check of a PO file: a language's translations checked
// against the catalogue and converted to its Windows code page.

#include <errno.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "CodePage.h"
#include "Commands.h"
#include "Po.h"
#include "text/LanguageWriter.h"
#include "text/SetupPair.h"

namespace langtool {

namespace {

// How far a text is from done; the English stands in for the first two.
enum State { kUntranslated, kFuzzy, kOutOfDate, kTranslated, kStates };

struct Language {
    std::string tag; // the header's Language
    CodePageChoice codePage;
    bool rightToLeft = false;
    TableTexts texts;
    std::map<int, std::string> gameOwn; // the game's own texts, kept as given
    int counts[kStates] = {};
    std::vector<unsigned> unheld; // the first character of each text the code page cannot hold
};

// The order in which a code page is proposed for a language langtool does
// not know: the most widely used first.
const unsigned kProposedCodePages[] = {1252, 1250, 1251, 1253, 1254, 1257, 1258,
                                       1255, 1256, 874,  932,  936,  949,  950};

// The first ANSI code page that holds every translation of `po`, as the
// header that names it; a list of them when none does.
std::string ProposeCodePage(const PoFile& po) {
    for (unsigned codePage : kProposedCodePages) {
        bool holds = true;
        for (const PoEntry& entry : po.entries) {
            std::string bytes;
            holds =
                holds && Utf8ToCodePage(codePage, entry.translation, &bytes) == ConvertResult::Ok;
        }
        if (holds) {
            return "\"X-Windows-Codepage: " + std::to_string(codePage) +
                   "\", the first that holds every text of this file";
        }
    }
    return std::string("\"X-Windows-Codepage: N\", N one of ") + kAnsiCodePageList;
}

// The header's X-Windows-Codepage, else the code page of its Language; 0
// with an error when neither gives a Windows ANSI code page.
CodePageChoice ResolveCodePage(const PoFile& po, CReport& report) {
    const std::string& header = po.header;
    std::string given = HeaderField(header, "X-Windows-Codepage");
    std::string language = HeaderField(header, "Language");
    CodePageChoice choice;
    if (!given.empty()) {
        choice.origin = "X-Windows-Codepage";
        if (!ParseCodePage(given, &choice.number) || !IsAnsiCodePage(choice.number)) {
            report.Error(0,
                         "X-Windows-Codepage \"%s\" is not a Windows ANSI code page: setup's "
                         "tables are in one of %s",
                         given.c_str(), kAnsiCodePageList);
            return CodePageChoice();
        }
        return choice;
    }
    choice.origin = "Language: " + language;
    choice.number = WindowsCodePage(language);
    std::string reason = NoCodePageReason(language);
    if (!reason.empty()) {
        report.Error(0, "%s", reason.c_str());
    } else if (choice.number == 0 && language.empty()) {
        report.Error(0, "the header names no Language: add \"Language: LL\" (its ISO 639 code) "
                        "or \"X-Windows-Codepage: N\"");
    } else if (choice.number == 0) {
        report.Error(0, "no Windows code page is known for Language \"%s\": add the header %s",
                     language.c_str(), ProposeCodePage(po).c_str());
    }
    return choice;
}

// Whether the language reads right to left: as its header's
// X-Text-Direction says ("rtl" or "ltr"), else as the script of its code
// page (Hebrew, 1255, and Arabic, 1256, do).
bool ReadsRightToLeft(const std::string& header, unsigned codePage, CReport& report) {
    std::string given = HeaderField(header, "X-Text-Direction");
    if (given.empty()) {
        return codePage == 1255 || codePage == 1256;
    }
    bool rightToLeft = strcasecmp(given.c_str(), text::kRightToLeft) == 0;
    if (!rightToLeft && strcasecmp(given.c_str(), text::kLeftToRight) != 0) {
        report.Error(0,
                     "X-Text-Direction \"%s\" is neither \"%s\" nor \"%s\": say which way it reads",
                     given.c_str(), text::kRightToLeft, text::kLeftToRight);
    }
    return rightToLeft;
}

// The entries by the catalogue's name: warns about those setup never reads
// and reports a text given twice.
std::map<std::string, const PoEntry*> EntriesByName(const PoFile& po, CReport& report) {
    std::map<std::string, const PoEntry*> byName;
    std::set<std::string> known;
    for (const CatalogueText& text : kTextCatalogue) {
        known.insert(text.name);
    }
    for (const PoEntry& entry : po.entries) {
        if (GameRecordOf(entry.context) >= 0) {
            continue; // the game's own text (GameTexts)
        }
        if (known.count(entry.context) == 0) {
            report.Warning(0, "msgctxt \"%s\" msgid \"%s\" is not a text setup reads; left out",
                           entry.context.c_str(), EscapeText(entry.english).c_str());
        } else if (!byName.emplace(entry.context, &entry).second) {
            report.Error(0, "%s is given twice", entry.context.c_str());
        }
    }
    return byName;
}

State Judge(const CatalogueText& wanted, const PoEntry& entry) {
    if (entry.translation.empty()) {
        return kUntranslated;
    }
    if (entry.fuzzy) {
        return kFuzzy;
    }
    return entry.english == wanted.english ? kTranslated : kOutOfDate;
}

// Says what is not done: a warning, or with `release` an error.
void ReportState(const CatalogueText& wanted, const PoEntry& entry, State state, bool release,
                 CReport& report) {
    const char* fallback = release ? "" : "; the English is used";
    std::string message;
    if (state == kUntranslated) {
        message = std::string("is not translated") + fallback;
    } else if (state == kFuzzy) {
        message = std::string("is fuzzy: review it and remove its fuzzy mark") + fallback;
    } else {
        message = "was translated from \"" + EscapeText(entry.english) +
                  "\", the English is now \"" + EscapeText(wanted.english) +
                  "\": merge the template (msgmerge)";
    }
    if (release) {
        report.Error(0, "%s (%d) %s", wanted.name, wanted.index, message.c_str());
    } else {
        report.Warning(0, "%s (%d) %s", wanted.name, wanted.index, message.c_str());
    }
}

// Names the first character of `utf8` that `codePage` cannot hold, and
// returns it (0 when every character converts alone).
unsigned ReportBadCharacter(const CatalogueText& wanted, const std::string& utf8,
                            const CodePageChoice& codePage, CReport& report) {
    int number = 0;
    for (size_t pos = 0, next = 0; pos < utf8.size(); pos = next) {
        ++number;
        next = pos + 1;
        while (next < utf8.size() && (utf8[next] & 0xC0) == 0x80) {
            ++next; // a continuation byte
        }
        std::string character = utf8.substr(pos, next - pos);
        std::string bytes;
        if (Utf8ToCodePage(codePage.number, character, &bytes) != ConvertResult::Ok) {
            report.Error(0, "%s (%d): character %d, U+%04X, is one that %s cannot hold",
                         wanted.name, wanted.index, number, FirstCodePoint(character),
                         Describe(codePage).c_str());
            return FirstCodePoint(character);
        }
    }
    report.Error(0, "%s (%d) cannot be converted to %s", wanted.name, wanted.index,
                 Describe(codePage).c_str());
    return 0;
}

// When most of the characters the code page could not hold are letters of
// one other script, names the Language value that writes the language in
// it ("sr" holding Latin text: sr_Latn). Only for a code page the Language
// chose: X-Windows-Codepage is the translator's own choice.
void SuggestScript(const Language& language, CReport& report) {
    if (language.unheld.empty() || language.codePage.origin == "X-Windows-Codepage") {
        return;
    }
    std::map<std::string, size_t> byScript;
    for (unsigned c : language.unheld) {
        if (const char* script = ScriptOfCharacter(c)) {
            ++byScript[script];
        }
    }
    if (byScript.count("Kana") != 0) {
        // Japanese writes its kanji among its kana.
        byScript["Kana"] += byScript["Hani"];
        byScript.erase("Hani");
    }
    for (const auto& script : byScript) {
        if (script.second * 2 <= language.unheld.size()) {
            continue;
        }
        std::string variant = ScriptVariant(language.tag, script.first.c_str());
        if (variant.empty()) {
            variant = LanguagesOfScript(script.first.c_str());
        }
        if (!variant.empty()) {
            report.Warning(0,
                           "most characters code page %u cannot hold are letters of the script "
                           "%s: for text in it say Language: %s",
                           language.codePage.number, script.first.c_str(), variant.c_str());
        }
    }
}

// The language's texts in its code page, by index, judged and counted.
void Translate(const PoFile& po, bool release, Language* language, CReport& report) {
    std::map<std::string, const PoEntry*> byName = EntriesByName(po, report);
    for (const CatalogueText& wanted : kTextCatalogue) {
        auto found = byName.find(wanted.name);
        if (found == byName.end()) {
            continue; // CheckCatalogue reports it missing
        }
        State state = Judge(wanted, *found->second);
        ++language->counts[state];
        if (state != kTranslated) {
            ReportState(wanted, *found->second, state, release, report);
        }
        std::string utf8 =
            ComposeNfc(state < kOutOfDate ? wanted.english : found->second->translation);
        TableText& text = language->texts[wanted.index];
        if (Utf8ToCodePage(language->codePage.number, utf8, &text.bytes) != ConvertResult::Ok) {
            language->unheld.push_back(
                ReportBadCharacter(wanted, utf8, language->codePage, report));
            text.broken = true;
        } else if (language->rightToLeft && TakesDirectionMarks(wanted)) {
            text.bytes = AddDirectionMarks(text.bytes, language->codePage.number);
        }
    }
    SuggestScript(*language, report);
}

// The game's own texts: those of the existing table `gameTable`, then the
// PO file's GAME_N entries, which win.
void GameTexts(const PoFile& po, const char* gameTable, Language* language, CReport& report,
               FILE* err) {
    if (gameTable != nullptr) {
        TableFiles table;
        if (!ReadTable(TableBaseOf(gameTable), &table, err)) {
            report.Error(0, "the game's table %s cannot be read (above)", gameTable);
        }
        language->gameOwn = table.gameOwn;
    }
    for (const PoEntry& entry : po.entries) {
        int index = GameRecordOf(entry.context);
        if (index < 0) {
            continue;
        }
        if (!IsGameOwn(index)) {
            report.Error(0, "%s: record %d is not the game's own: setup reads it",
                         entry.context.c_str(), index);
            continue;
        }
        const std::string& utf8 = entry.translation.empty() ? entry.english : entry.translation;
        if (Utf8ToCodePage(language->codePage.number, utf8, &language->gameOwn[index]) !=
            ConvertResult::Ok) {
            report.Error(0, "%s: the text holds a character that %s cannot hold",
                         entry.context.c_str(), Describe(language->codePage).c_str());
        }
    }
}

// Renames the pair `temp` over `base`, the pool first. The previous pool is
// kept aside meanwhile and put back when the index cannot follow, so that a
// failure leaves the previous pair whole and no temporary file.
bool ReplacePair(const std::string& temp, const std::string& base, FILE* err) {
    std::string pool = base + ".poo";
    std::string index = base + ".sif";
    std::string saved = temp + ".old";
    bool hadPool = link(pool.c_str(), saved.c_str()) == 0;
    int error = hadPool || errno == ENOENT ? 0 : errno;
    const std::string* failed = error != 0 ? &pool : nullptr;
    if (failed == nullptr && rename((temp + ".poo").c_str(), pool.c_str()) != 0) {
        error = errno;
        failed = &pool;
    } else if (failed == nullptr && rename((temp + ".sif").c_str(), index.c_str()) != 0) {
        error = errno;
        failed = &index;
        if (hadPool) {
            rename(saved.c_str(), pool.c_str());
        } else {
            remove(pool.c_str());
        }
    }
    remove((temp + ".poo").c_str());
    remove((temp + ".sif").c_str());
    remove(saved.c_str());
    if (failed != nullptr) {
        fprintf(err, "langtool: cannot replace %s: %s\n", failed->c_str(), strerror(error));
    }
    return failed == nullptr;
}

bool WriteTable(const std::map<int, std::string>& texts, const std::string& base, FILE* err) {
    std::vector<LanguageText> list;
    for (const auto& entry : texts) {
        list.push_back(LanguageText{entry.first, entry.second.c_str()});
    }
    std::string temp = base + ".new" + std::to_string(getpid());
    if (!MakeParentFolder(base, err)) {
        return false;
    }
    if (!WriteLanguageTable(temp.c_str(), list.data(), list.size())) {
        fprintf(err, "langtool: cannot write %s.sif and %s.poo: %s\n", base.c_str(), base.c_str(),
                strerror(errno));
        return false;
    }
    return ReplacePair(temp, base, err);
}

// The game's table at `base`, setup's own pair beside it.
// The language's two pairs, by index: the game's table (its own texts
// and the dialog's) and setup's pair, with its marker, the reading
// direction, the code page and every message (text/SetupPair.h).
void SplitPairs(const Language& language, std::map<int, std::string>* game,
                std::map<int, std::string>* setup) {
    *game = language.gameOwn;
    for (const auto& entry : language.texts) {
        (InSetupPair(entry.first) ? *setup : *game)[entry.first] = entry.second.bytes;
    }
    (*setup)[text::kSetupMarkerRecord] = text::kSetupPairMarker;
    (*setup)[text::kSetupDirectionRecord] =
        language.rightToLeft ? text::kRightToLeft : text::kLeftToRight;
    (*setup)[text::kSetupCodePageRecord] = std::to_string(language.codePage.number);
}

bool WriteTables(const std::map<int, std::string>& game, const std::map<int, std::string>& setup,
                 const std::string& base, FILE* err) {
    std::string setupBase = SetupPairBase(base);
    std::string folder = setupBase.substr(0, setupBase.rfind('/'));
    if (!WriteTable(game, base, err)) {
        return false;
    }
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        fprintf(err, "langtool: cannot make %s: %s\n", folder.c_str(), strerror(errno));
        return false;
    }
    return WriteTable(setup, setupBase, err);
}

// "SOURCE: code page 1250 (from Language: pl), 11 translated, 1 fuzzy, ...:
// 0 errors, 1 warnings"
void PrintSummary(const char* source, const Language& language, const CReport& report, FILE* out) {
    std::string codePage =
        language.codePage.number != 0 ? Describe(language.codePage) + ", " : std::string();
    std::map<int, std::string> game, setup;
    SplitPairs(language, &game, &setup);
    fprintf(out,
            "%s: %s%d records, %d translated, %d fuzzy, %d untranslated, %d out of date: %d "
            "errors, %d warnings\n",
            source, codePage.c_str(), language.codePage.number != 0 ? CountTexts(game, setup) : 0,
            language.counts[kTranslated], language.counts[kFuzzy], language.counts[kUntranslated],
            language.counts[kOutOfDate], report.Errors(), report.Warnings());
}

} // namespace

std::string SetupPairBase(const std::string& base) {
    size_t slash = base.rfind('/');
    size_t name = slash == std::string::npos ? 0 : slash + 1;
    return base.substr(0, name) + text::kSetupPairFolder + "/" + base.substr(name);
}

int Build(const char* source, const std::string* base, const char* gameTable, bool release,
          FILE* out, FILE* err) {
    CReport report(source, base != nullptr ? err : out);
    PoFile po;
    Language language;
    std::string nameProblem = LanguageNameProblem(SourceName(source));
    if (base == nullptr && !nameProblem.empty()) {
        report.Error(0, "%s", nameProblem.c_str());
    }
    if (ReadPo(source, &po, report)) {
        language.tag = HeaderField(po.header, "Language");
        language.codePage = ResolveCodePage(po, report);
        language.rightToLeft = ReadsRightToLeft(po.header, language.codePage.number, report);
    }
    if (language.codePage.number != 0) {
        Translate(po, release, &language, report);
        CheckCatalogue(language.texts, language.codePage.number, report);
        GameTexts(po, gameTable, &language, report, err);
    }
    if (base == nullptr) {
        PrintSummary(source, language, report, out);
        return report.Errors() > 0 ? kExitFailed : kExitOk;
    }
    if (report.Errors() > 0) {
        fprintf(err, "langtool: %s has errors; no table written\n", source);
        return kExitFailed;
    }
    std::map<int, std::string> game, setup;
    SplitPairs(language, &game, &setup);
    if (!WriteTables(game, setup, *base, err)) {
        return kExitFailed;
    }
    fprintf(out, "%s: %d records, %s, %d warnings; setup's messages in %s, %s\n", base->c_str(),
            CountTexts(game, setup), Describe(language.codePage).c_str(), report.Warnings(),
            SetupPairBase(*base).c_str(), language.rightToLeft ? "right to left" : "left to right");
    return kExitOk;
}

} // namespace langtool
