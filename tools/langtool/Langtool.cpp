#include "Langtool.h"

#include <stdlib.h>
#include <string.h>

#include "Commands.h"
#include "text/LanguageTable.h"

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

bool IsReadableBase(const char* base, FILE* err) {
    if (strlen(base) > text::kMaxBasePath) {
        fprintf(err, "langtool: %s: base path longer than %d characters\n", base,
                (int)text::kMaxBasePath);
        return false;
    }
    std::string index = std::string(base) + ".sif";
    FILE* file = fopen(index.c_str(), "rb");
    if (file == nullptr) {
        fprintf(err, "langtool: cannot open %s\n", index.c_str());
        return false;
    }
    fclose(file);
    return true;
}

} // namespace langtool

namespace {

using namespace langtool;

const char kUsage[] = "usage: langtool build SOURCE -o BASE [--codepage N]\n"
                      "       langtool dump BASE [--codepage N]\n"
                      "       langtool check BASE\n";

struct Arguments {
    const char* command = nullptr;
    const char* input = nullptr;  // SOURCE for build, BASE otherwise
    const char* output = nullptr; // -o BASE
    unsigned codePage = kDefaultCodePage;
    bool codePageGiven = false;
};

bool ParseCodePage(const char* text, unsigned* codePage) {
    char* end = nullptr;
    unsigned long value = strtoul(text, &end, 10);
    if (end == text || *end != '\0' || text[0] == '-' || value == 0 || value > 65535) {
        return false;
    }
    *codePage = (unsigned)value;
    return true;
}

// Reads options and the one positional argument after the command.
bool ParseArguments(int argc, const char* const* argv, Arguments* args, FILE* err) {
    args->command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (strcmp(arg, "-o") == 0 && hasValue) {
            args->output = argv[++i];
        } else if (strcmp(arg, "--codepage") == 0 && hasValue) {
            args->codePageGiven = true;
            if (!ParseCodePage(argv[++i], &args->codePage)) {
                fprintf(err, "langtool: --codepage wants a number from 1 to 65535\n");
                return false;
            }
        } else if (arg[0] == '-' || args->input != nullptr) {
            fprintf(err, "langtool: unexpected argument %s\n", arg);
            return false;
        } else {
            args->input = arg;
        }
    }
    return args->input != nullptr;
}

int Run(const Arguments& args, FILE* out, FILE* err) {
    const char* command = args.command;
    if (strcmp(command, "build") == 0 && args.output != nullptr) {
        return Build(args.input, args.output, args.codePage, err);
    }
    if (strcmp(command, "dump") == 0 && args.output == nullptr) {
        return Dump(args.input, args.codePage, out, err);
    }
    if (strcmp(command, "check") == 0 && args.output == nullptr && !args.codePageGiven) {
        return Check(args.input, out, err);
    }
    fputs(kUsage, err);
    return kExitUsage;
}

} // namespace

int LangtoolMain(int argc, const char* const* argv, FILE* out, FILE* err) {
    Arguments args;
    if (argc < 2 || !ParseArguments(argc, argv, &args, err)) {
        fputs(kUsage, err);
        return kExitUsage;
    }
    return Run(args, out, err);
}
