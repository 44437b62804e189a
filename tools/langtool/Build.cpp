// langtool build: a UTF-8 source compiled to a .sif/.poo pair.

#include <errno.h>
#include <string.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "CodePage.h"
#include "Commands.h"
#include "SourceFormat.h"
#include "text/LanguageWriter.h"

namespace langtool {

namespace {

bool ReportDuplicates(const std::vector<SourceLine>& lines, const char* source, FILE* err) {
    std::map<int, int> firstLine;
    bool ok = true;
    for (const SourceLine& line : lines) {
        auto inserted = firstLine.emplace(line.index, line.line);
        if (!inserted.second) {
            fprintf(err, "%s:%d: error: index %d is already given on line %d\n", source, line.line,
                    line.index, inserted.first->second);
            ok = false;
        }
    }
    return ok;
}

// The length of the UTF-8 sequence that starts with `lead` (1 for a byte
// that cannot start one, which the conversion then rejects).
size_t SequenceLength(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Names the first character of `line`'s text that does not convert, with
// its column, as "column 7: U+2192, a character that ...".
std::string FirstBadCharacter(const SourceLine& line, unsigned codePage) {
    const std::string& raw = line.raw;
    int column = line.textColumn;
    for (size_t pos = 0; pos < raw.size(); ++column) {
        size_t length = std::min(SequenceLength((unsigned char)raw[pos]), raw.size() - pos);
        std::string bytes;
        std::string character = raw.substr(pos, length);
        ConvertResult result = Utf8ToCodePage(codePage, character, &bytes);
        char where[96];
        if (result == ConvertResult::Unrepresentable) {
            snprintf(where, sizeof(where), "column %d: U+%04X, a character that", column,
                     FirstCodePoint(character));
            return std::string(where) + " code page " + std::to_string(codePage) + " cannot hold";
        }
        if (result != ConvertResult::Ok) {
            snprintf(where, sizeof(where), "column %d: byte 0x%02X; the text is not valid UTF-8",
                     column, (unsigned char)raw[pos]);
            return where;
        }
        pos += length;
    }
    return "the text cannot be converted (code page " + std::to_string(codePage) + ")";
}

// Converts every text; `texts` gets them by index.
bool ConvertAll(const std::vector<SourceLine>& lines, const char* source, unsigned codePage,
                TableTexts* texts, FILE* err) {
    bool ok = true;
    for (const SourceLine& line : lines) {
        TableText& text = (*texts)[line.index];
        text.line = line.line;
        ConvertResult result = Utf8ToCodePage(codePage, line.text, &text.bytes);
        if (result == ConvertResult::Unsupported) {
            fprintf(err, "langtool: code page %u is not supported here\n", codePage);
            return false;
        }
        if (result == ConvertResult::Ok && text.bytes.find('\0') != std::string::npos) {
            fprintf(err, "%s:%d: error: the text holds a NUL byte in code page %u\n", source,
                    line.line, codePage);
            ok = false;
        } else if (result != ConvertResult::Ok) {
            fprintf(err, "%s:%d: error: %s\n", source, line.line,
                    FirstBadCharacter(line, codePage).c_str());
            ok = false;
        }
    }
    return ok;
}

// The code page the source names, unless the command line says otherwise.
bool ResolveCodePage(const Source& parsed, const char* source, const CodePageOption& option,
                     unsigned* codePage, FILE* err) {
    *codePage = parsed.codePage != 0 ? parsed.codePage : option.codePage;
    if (parsed.codePage != 0 && option.given && option.codePage != parsed.codePage) {
        fprintf(err, "%s:%d: error: the source names code page %u, --codepage %u\n", source,
                parsed.codePageLine, parsed.codePage, option.codePage);
        return false;
    }
    return true;
}

bool WriteTable(const TableTexts& texts, const std::string& base, FILE* err) {
    std::vector<LanguageText> list;
    for (const auto& entry : texts) {
        list.push_back(LanguageText{entry.first, entry.second.bytes.c_str()});
    }
    std::string temp = base + ".new" + std::to_string(getpid());
    if (!CanWrite(temp + ".sif", base + ".sif", err)) {
        return false;
    }
    if (!WriteLanguageTable(temp.c_str(), list.data(), list.size())) {
        fprintf(err, "langtool: cannot write %s.sif and %s.poo: %s\n", base.c_str(), base.c_str(),
                strerror(errno));
        return false;
    }
    return ReplaceFile(temp + ".poo", base + ".poo", err) &&
           ReplaceFile(temp + ".sif", base + ".sif", err);
}

} // namespace

bool ReadSource(const char* path, Source* source, FILE* err) {
    std::string data;
    if (!ReadWholeFile(path, &data)) {
        fprintf(err, "langtool: cannot read %s: %s\n", path, strerror(errno));
        return false;
    }
    return ParseSource(data, path, source, err) && ReportDuplicates(source->lines, path, err);
}

int Build(const char* source, const std::string& base, const CodePageOption& option, FILE* out,
          FILE* err) {
    Source parsed;
    unsigned codePage = 0;
    TableTexts texts;
    bool ok = ReadSource(source, &parsed, err);
    ok = ResolveCodePage(parsed, source, option, &codePage, err) && ok;
    ok = ok && ConvertAll(parsed.lines, source, codePage, &texts, err);
    CReport report(source, err);
    if (ok) {
        CheckCatalogue(texts, codePage, report);
    }
    if (!ok || report.Errors() > 0) {
        fprintf(err, "langtool: %s has errors; no table written\n", source);
        return kExitFailed;
    }
    if (!WriteTable(texts, base, err)) {
        return kExitFailed;
    }
    fprintf(out, "%s: %d records, code page %u, %d warnings\n", base.c_str(),
            texts.empty() ? 0 : texts.rbegin()->first + 1, codePage, report.Warnings());
    return kExitOk;
}

int PrintCodePage(const char* source, FILE* out, FILE* err) {
    Source parsed;
    if (!ReadSource(source, &parsed, err)) {
        return kExitFailed;
    }
    fprintf(out, "%u\n", parsed.codePage != 0 ? parsed.codePage : kDefaultCodePage);
    return kExitOk;
}

} // namespace langtool
