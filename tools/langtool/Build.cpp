// langtool build: a UTF-8 source compiled to a .sif/.poo pair.

#include <map>
#include <string>
#include <vector>

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

const char* ConvertProblem(ConvertResult result) {
    switch (result) {
    case ConvertResult::Unrepresentable:
        return "a character that the code page cannot hold";
    case ConvertResult::InvalidInput:
        return "the text is not valid UTF-8";
    default:
        return "the text cannot be converted";
    }
}

// Converts every text; `converted` gets them in the order of `lines`.
bool ConvertAll(const std::vector<SourceLine>& lines, const char* source, unsigned codePage,
                std::vector<std::string>* converted, FILE* err) {
    bool ok = true;
    for (const SourceLine& line : lines) {
        std::string bytes;
        ConvertResult result = Utf8ToCodePage(codePage, line.text, &bytes);
        if (result == ConvertResult::Unsupported) {
            fprintf(err, "langtool: code page %u is not supported here\n", codePage);
            return false;
        }
        if (result == ConvertResult::Ok && bytes.find('\0') != std::string::npos) {
            fprintf(err, "%s:%d: error: the text holds a NUL byte in code page %u\n", source,
                    line.line, codePage);
            ok = false;
        } else if (result != ConvertResult::Ok) {
            fprintf(err, "%s:%d: error: %s (code page %u)\n", source, line.line,
                    ConvertProblem(result), codePage);
            ok = false;
        }
        converted->push_back(bytes);
    }
    return ok;
}

// Warns about the indexes below the highest that the source leaves out,
// as ranges such as "0-657, 660".
void WarnAboutGaps(const std::vector<SourceLine>& lines, const char* source, FILE* err) {
    std::map<int, bool> given;
    for (const SourceLine& line : lines) {
        given[line.index] = true;
    }
    std::string ranges;
    int missing = 0;
    int expected = 0;
    for (const auto& entry : given) {
        if (entry.first > expected) {
            int last = entry.first - 1;
            ranges += (ranges.empty() ? "" : ", ") + std::to_string(expected);
            ranges += last > expected ? "-" + std::to_string(last) : "";
            missing += entry.first - expected;
        }
        expected = entry.first + 1;
    }
    if (missing > 0) {
        fprintf(err,
                "%s: warning: %d indexes below the highest are not given (%s); the table holds "
                "them as empty texts, so setup shows them empty rather than missing\n",
                source, missing, ranges.c_str());
    }
}

} // namespace

int Build(const char* source, const char* base, unsigned codePage, FILE* err) {
    std::string data;
    if (!ReadWholeFile(source, &data)) {
        fprintf(err, "langtool: cannot read %s\n", source);
        return kExitFailed;
    }
    std::vector<SourceLine> lines;
    std::vector<std::string> converted;
    bool ok = ParseSource(data, source, &lines, err);
    ok = ReportDuplicates(lines, source, err) && ok;
    ok = ConvertAll(lines, source, codePage, &converted, err) && ok;
    if (!ok) {
        fprintf(err, "langtool: %s has errors; no table written\n", source);
        return kExitFailed;
    }
    WarnAboutGaps(lines, source, err);

    std::vector<LanguageText> texts;
    for (size_t i = 0; i < lines.size(); ++i) {
        texts.push_back(LanguageText{lines[i].index, converted[i].c_str()});
    }
    if (!WriteLanguageTable(base, texts.data(), texts.size())) {
        fprintf(err, "langtool: cannot write %s.sif and %s.poo\n", base, base);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace langtool
