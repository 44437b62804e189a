#include "Langtool.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "Commands.h"
#include "SourceFormat.h"
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

bool CanWrite(const std::string& temp, const std::string& target, FILE* err) {
    FILE* file = fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        fprintf(err, "langtool: cannot write %s: %s\n", target.c_str(), strerror(errno));
        return false;
    }
    fclose(file);
    return true;
}

bool ReplaceFile(const std::string& temp, const std::string& target, FILE* err) {
    if (rename(temp.c_str(), target.c_str()) != 0) {
        fprintf(err, "langtool: cannot replace %s: %s\n", target.c_str(), strerror(errno));
        remove(temp.c_str());
        return false;
    }
    return true;
}

bool WriteFileInPlace(const std::string& path, const std::string& data, FILE* err) {
    std::string temp = path + ".new" + std::to_string(getpid());
    FILE* file = fopen(temp.c_str(), "wb");
    bool ok = file != nullptr && fwrite(data.data(), 1, data.size(), file) == data.size();
    int error = errno;
    ok = file != nullptr && fclose(file) == 0 && ok;
    if (!ok) {
        fprintf(err, "langtool: cannot write %s: %s\n", path.c_str(), strerror(error));
        remove(temp.c_str());
        return false;
    }
    return ReplaceFile(temp, path, err);
}

bool IsReadableBase(const std::string& base, FILE* err) {
    if (base.size() > text::kMaxBasePath) {
        fprintf(err, "langtool: %s: base path longer than %d characters\n", base.c_str(),
                (int)text::kMaxBasePath);
        return false;
    }
    std::string index = base + ".sif";
    FILE* file = fopen(index.c_str(), "rb");
    if (file == nullptr) {
        fprintf(err, "langtool: cannot open %s: %s\n", index.c_str(), strerror(errno));
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
                      "       langtool check BASE [--codepage N]\n"
                      "       langtool codepage SOURCE\n"
                      "       langtool status --master MASTER SOURCE...\n"
                      "       langtool update --master MASTER SOURCE\n";

struct Arguments {
    const char* command = nullptr;
    std::vector<const char*> inputs; // SOURCE for build, BASE for dump and check
    const char* output = nullptr;    // -o BASE
    const char* master = nullptr;    // --master MASTER
    CodePageOption codePage;
};

// A table's base name: BASE, BASE.sif and BASE.poo all name BASE.
std::string TableBase(const char* name) {
    std::string base = name;
    size_t dot = base.size() > 4 ? base.size() - 4 : std::string::npos;
    if (dot != std::string::npos &&
        (base.compare(dot, 4, ".sif") == 0 || base.compare(dot, 4, ".poo") == 0)) {
        base.erase(dot);
    }
    return base;
}

// Reads the options and the positional arguments after the command.
bool ParseArguments(int argc, const char* const* argv, Arguments* args, FILE* err) {
    args->command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (strcmp(arg, "-o") == 0 && hasValue) {
            args->output = argv[++i];
        } else if (strcmp(arg, "--master") == 0 && hasValue) {
            args->master = argv[++i];
        } else if (strcmp(arg, "--codepage") == 0 && hasValue) {
            args->codePage.given = true;
            if (!ParseCodePage(argv[++i], &args->codePage.codePage)) {
                fprintf(err, "langtool: --codepage wants a number from 1 to 65535\n");
                return false;
            }
        } else if (arg[0] == '-') {
            fprintf(err, "langtool: unexpected argument %s\n", arg);
            return false;
        } else {
            args->inputs.push_back(arg);
        }
    }
    return !args->inputs.empty();
}

// Whether the command has the arguments it takes and no others.
bool Takes(const Arguments& args, const char* command, bool output, bool master, bool codePage,
           bool several) {
    return strcmp(args.command, command) == 0 && (args.output != nullptr) == output &&
           (args.master != nullptr) == master && (codePage || !args.codePage.given) &&
           (several || args.inputs.size() == 1);
}

int Run(const Arguments& args, FILE* out, FILE* err) {
    const char* input = args.inputs[0];
    unsigned codePage = args.codePage.codePage;
    if (Takes(args, "build", true, false, true, false)) {
        return Build(input, TableBase(args.output), args.codePage, out, err);
    }
    if (Takes(args, "dump", false, false, true, false)) {
        return Dump(TableBase(input), codePage, out, err);
    }
    if (Takes(args, "check", false, false, true, false)) {
        return Check(TableBase(input), codePage, out, err);
    }
    if (Takes(args, "codepage", false, false, false, false)) {
        return PrintCodePage(input, out, err);
    }
    if (Takes(args, "status", false, true, false, true)) {
        return Status(args.master, args.inputs, out, err);
    }
    if (Takes(args, "update", false, true, false, false)) {
        return Update(args.master, input, out, err);
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
