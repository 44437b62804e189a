// langtool status and update: a language's source held against the English
// master, as gettext's msgfmt --statistics and msgmerge do for catalogues.

#include <map>
#include <string>
#include <vector>

#include "Commands.h"
#include "SourceFormat.h"

namespace langtool {

namespace {

enum class State { Translated, Missing, Stale, Obsolete };

struct Finding {
    int index;
    State state;
    std::string detail;
};

struct Comparison {
    int counts[4] = {0, 0, 0, 0}; // by State
    std::map<int, Finding> work;  // the texts that need work, by index

    bool InStep() const { return work.empty(); }
};

using ByIndex = std::map<int, const SourceLine*>;

ByIndex IndexLines(const Source& source) {
    ByIndex lines;
    for (const SourceLine& line : source.lines) {
        lines[line.index] = &line;
    }
    return lines;
}

std::string Quoted(const std::string& text) {
    return "\"" + EscapeText(text) + "\"";
}

// Whether `translation` is still the English: marked new, or a copy of the
// master's text that records no English (a language begun as a copy).
bool IsUntranslated(const SourceLine& english, const SourceLine& translation) {
    return translation.isNew || (!translation.hasEnglish && translation.text == english.text);
}

// The state of the language's text for one master text, null when absent.
Finding Judge(const SourceLine& english, const SourceLine* translation) {
    if (translation == nullptr) {
        return {english.index, State::Missing, "missing; the English is " + Quoted(english.text)};
    }
    if (IsUntranslated(english, *translation)) {
        return {english.index, State::Missing, "not translated yet: " + Quoted(english.text)};
    }
    if (translation->hasEnglish && translation->english != english.text) {
        return {english.index, State::Stale,
                "stale: translated from " + Quoted(translation->english) + ", the English is now " +
                    Quoted(english.text)};
    }
    return {english.index, State::Translated, ""};
}

Comparison Compare(const Source& master, const Source& language) {
    Comparison result;
    ByIndex translations = IndexLines(language);
    ByIndex english = IndexLines(master);
    for (const SourceLine& line : master.lines) {
        auto found = translations.find(line.index);
        Finding finding = Judge(line, found == translations.end() ? nullptr : found->second);
        ++result.counts[(int)finding.state];
        if (finding.state != State::Translated) {
            result.work[line.index] = finding;
        }
    }
    for (const SourceLine& line : language.lines) {
        if (english.count(line.index) == 0) {
            ++result.counts[(int)State::Obsolete];
            result.work[line.index] = {line.index, State::Obsolete,
                                       "obsolete: the master has no such text"};
        }
    }
    return result;
}

void PrintCounts(const char* language, const Comparison& result, FILE* out) {
    fprintf(out, "%s: %d translated, %d missing, %d obsolete, %d stale\n", language,
            result.counts[(int)State::Translated], result.counts[(int)State::Missing],
            result.counts[(int)State::Obsolete], result.counts[(int)State::Stale]);
}

void AppendLines(const std::vector<std::string>& lines, std::string* data) {
    for (const std::string& line : lines) {
        *data += line + "\n";
    }
}

// A master text the language lacks, or has only as the English: marked
// new, with the English as its text.
void AppendNew(const SourceLine& english, std::string* data) {
    std::string raw = EscapeText(english.text);
    *data += "# new\n# en: " + raw + "\n" + std::to_string(english.index) + "\t" + raw + "\n";
}

// A translation, with the English it was made from: the one it records,
// else (its first update) the master's.
void AppendTranslation(const SourceLine& english, const SourceLine& translation,
                       std::string* data) {
    const std::string& from = translation.hasEnglish ? translation.english : english.text;
    *data += "# en: " + EscapeText(from) + "\n";
    *data += std::to_string(translation.index) + "\t" + translation.raw + "\n";
}

// The language's source in step with the master: its own header first, its
// texts in the master's order, then the texts the master no longer has,
// commented out as obsolete.
std::string Merge(const Source& master, const Source& language) {
    std::string data;
    ByIndex translations = IndexLines(language);
    ByIndex english = IndexLines(master);
    const SourceLine* first = language.lines.empty() ? nullptr : &language.lines[0];
    if (first != nullptr) {
        AppendLines(first->notes, &data);
    }
    for (const SourceLine& line : master.lines) {
        auto found = translations.find(line.index);
        const SourceLine* translation = found == translations.end() ? nullptr : found->second;
        if (translation != nullptr && translation != first) {
            AppendLines(translation->notes, &data);
        }
        if (translation == nullptr || IsUntranslated(line, *translation)) {
            AppendNew(line, &data);
        } else {
            AppendTranslation(line, *translation, &data);
        }
    }
    for (const SourceLine& line : language.lines) {
        if (english.count(line.index) == 0) {
            AppendLines(&line == first ? std::vector<std::string>() : line.notes, &data);
            data += "#~ " + std::to_string(line.index) + "\t" + line.raw + "\n";
        }
    }
    AppendLines(language.trailer, &data);
    return data;
}

} // namespace

int Status(const char* master, const std::vector<const char*>& languages, FILE* out, FILE* err) {
    Source english;
    if (!ReadSource(master, &english, err)) {
        return kExitFailed;
    }
    bool inStep = true;
    for (const char* path : languages) {
        Source language;
        if (!ReadSource(path, &language, err)) {
            inStep = false;
            continue;
        }
        Comparison result = Compare(english, language);
        PrintCounts(path, result, out);
        for (const auto& entry : result.work) {
            fprintf(out, "  %d %s\n", entry.first, entry.second.detail.c_str());
        }
        inStep = inStep && result.InStep();
    }
    return inStep ? kExitOk : kExitFailed;
}

int Update(const char* master, const char* path, FILE* out, FILE* err) {
    Source english;
    Source language;
    if (!ReadSource(master, &english, err) || !ReadSource(path, &language, err)) {
        fprintf(err, "langtool: %s not updated\n", path);
        return kExitFailed;
    }
    std::string merged = Merge(english, language);
    Source updated;
    if (!ParseSource(merged, path, &updated, err) || !WriteFileInPlace(path, merged, err)) {
        return kExitFailed;
    }
    PrintCounts(path, Compare(english, updated), out);
    return kExitOk;
}

} // namespace langtool
