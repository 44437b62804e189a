#include "Langtool.h"

#include <string.h>
#include <strings.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "Commands.h"
#include "CodePage.h"

namespace langtool {

bool ReadWholeFile(const std::string& path, std::string* data) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    data->clear();
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) {
        data->append(chunk, got);
    }
    bool ok = ferror(file) == 0;
    fclose(file);
    return ok;
}

bool MakeParentFolder(const std::string& path, FILE* err) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (parent.empty() || std::filesystem::is_directory(parent, error)) {
        return true;
    }
    std::filesystem::create_directories(parent, error);
    if (error) {
        fprintf(err, "langtool: cannot make the folder %s: %s\n", parent.c_str(),
                error.message().c_str());
    }
    return !error;
}

} // namespace langtool

namespace {

using namespace langtool;

// Whether `name` may name a language: see AcceptLanguageName.
bool IsLanguageName(const std::string& name) {
    for (char c : name) {
        bool letterOrDigit =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != ' ' && c != '-' && c != '_') {
            return false;
        }
    }
    return !name.empty();
}

} // namespace

namespace langtool {

std::string LanguageNameProblem(const std::string& name) {
    if (IsLanguageName(name)) {
        return "";
    }
    return "\"" + name +
           "\" cannot name a language: its file name may hold only ASCII letters, digits, "
           "spaces, '-' and '_', since setup lists the names in the player's system code page, "
           "whatever the language";
}

std::string SourceName(const std::string& source) {
    std::string name = std::filesystem::path(source).filename().string();
    return name.size() > 3 ? name.substr(0, name.size() - 3) : name;
}

std::string TableBaseOf(const char* name) {
    std::string base = name;
    size_t dot = base.size() > 4 ? base.size() - 4 : std::string::npos;
    if (dot != std::string::npos &&
        (base.compare(dot, 4, ".sif") == 0 || base.compare(dot, 4, ".poo") == 0)) {
        base.erase(dot);
    }
    return base;
}

} // namespace langtool

namespace {

// Refuses a table whose file name setup could not list: the language's
// name is that file name, shown in the player's system code page whatever
// the language, and only ASCII reads alike in all of them.
bool AcceptLanguageName(const std::string& base, FILE* err) {
    std::string problem = LanguageNameProblem(std::filesystem::path(base).filename().string());
    if (!problem.empty()) {
        fprintf(err, "langtool: %s\n", problem.c_str());
    }
    return problem.empty();
}

const char kUsage[] = "usage: langtool build LANG.po -o BASE [--game TABLE] [--release]\n"
                      "       langtool check LANG.po [--release]\n"
                      "       langtool check BASE [--codepage N]\n"
                      "       langtool dump BASE [--codepage N]\n"
                      "       langtool pot\n"
                      "       langtool catalogue\n";

struct Arguments {
    const char* command = nullptr;
    std::vector<const char*> inputs; // LANG.po or BASE
    const char* output = nullptr;    // -o BASE
    const char* gameTable = nullptr; // --game TABLE
    bool release = false;
    bool codePageGiven = false;
    CodePageChoice codePage;
};

// NAME.po, in any case: a file from Windows may be NAME.PO.
bool IsPoFile(const char* name) {
    size_t length = strlen(name);
    return length > 3 && strcasecmp(name + length - 3, ".po") == 0;
}

// Reads the options and the positional arguments after the command.
bool ParseArguments(int argc, const char* const* argv, Arguments* args, FILE* err) {
    args->command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (strcmp(arg, "-o") == 0 && hasValue) {
            args->output = argv[++i];
        } else if (strcmp(arg, "--game") == 0 && hasValue) {
            args->gameTable = argv[++i];
        } else if (strcmp(arg, "--release") == 0) {
            args->release = true;
        } else if (strcmp(arg, "--codepage") == 0 && hasValue) {
            args->codePageGiven = true;
            args->codePage.origin = "--codepage";
            if (!ParseCodePage(argv[++i], &args->codePage.number) ||
                !IsAnsiCodePage(args->codePage.number)) {
                fprintf(err, "langtool: --codepage wants a Windows ANSI code page: %s\n",
                        kAnsiCodePageList);
                return false;
            }
        } else if (arg[0] == '-') {
            fprintf(err, "langtool: unexpected argument %s\n", arg);
            return false;
        } else {
            args->inputs.push_back(arg);
        }
    }
    return true;
}

// Whether the command is `command` with `inputs` inputs and only the options
// it takes.
bool Takes(const Arguments& args, const char* command, size_t inputs, bool output, bool release,
           bool codePage) {
    return strcmp(args.command, command) == 0 && args.inputs.size() == inputs &&
           (args.output != nullptr) == output && (release || !args.release) &&
           (codePage || !args.codePageGiven) && (output || args.gameTable == nullptr);
}

int Run(const Arguments& args, FILE* out, FILE* err) {
    const char* input = args.inputs.empty() ? "" : args.inputs[0];
    bool po = IsPoFile(input);
    if (Takes(args, "build", 1, true, true, false)) {
        std::string base = TableBaseOf(args.output);
        if (IsPoFile(args.output)) {
            fprintf(err,
                    "langtool: -o %s names a PO file: -o wants the table's base name, without an "
                    "ending (-o %.*s writes %.*s.sif and .poo)\n",
                    args.output, (int)strlen(args.output) - 3, args.output,
                    (int)strlen(args.output) - 3, args.output);
            return kExitUsage;
        }
        if (!AcceptLanguageName(base, err)) {
            return kExitFailed;
        }
        return Build(input, &base, args.gameTable, args.release, out, err);
    }
    if (po && Takes(args, "check", 1, false, true, false)) {
        return Build(input, nullptr, nullptr, args.release, out, err);
    }
    if (!po && Takes(args, "check", 1, false, false, true)) {
        return CheckTable(TableBaseOf(input), args.codePage, args.codePageGiven, out, err);
    }
    if (Takes(args, "dump", 1, false, false, true)) {
        return Dump(TableBaseOf(input), args.codePage, args.codePageGiven, out, err);
    }
    if (Takes(args, "pot", 0, false, false, false)) {
        return WriteTemplate(out, err);
    }
    if (Takes(args, "catalogue", 0, false, false, false)) {
        return PrintCatalogue(out);
    }
    fputs(kUsage, err);
    return kExitUsage;
}

} // namespace

int LangtoolMain(int argc, const char* const* argv, FILE* out, FILE* err) {
    if (argc == 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        fputs(kUsage, out);
        return kExitOk;
    }
    Arguments args;
    if (argc < 2 || !ParseArguments(argc, argv, &args, err)) {
        fputs(kUsage, err);
        return kExitUsage;
    }
    return Run(args, out, err);
}
