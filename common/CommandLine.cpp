#include "common/CommandLine.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

const char* SkipSpaces(const char* at) {
    while (IsSpace(*at))
        ++at;
    return at;
}

// Copies the word at `at` into `word` with its quotes removed; false when it
// does not fit. `at` moves past the word.
bool TakeWord(const char*& at, PathBuffer& word) {
    size_t length = 0;
    bool quoted = false;
    for (; *at && (quoted || !IsSpace(*at)); ++at) {
        if (*at == '"') {
            quoted = !quoted;
            continue;
        }
        if (length + 1 >= sizeof word)
            return false;
        word[length++] = *at;
    }
    word[length] = '\0';
    return true;
}

// NSIS's /D= takes the rest of the line as it stands, spaces and all.
bool TakeRest(const char* at, PathBuffer& value) {
    size_t length = strlen(at);
    while (length > 0 && IsSpace(at[length - 1]))
        --length;
    if (length == 0 || length >= sizeof value)
        return false;
    memcpy(value, at, length);
    value[length] = '\0';
    return true;
}

// Whether `word` is the switch `name` ("/NAME" or "/NAME=..."), and where
// its value begins (null without "=").
bool IsSwitch(const char* word, const char* name, const char*& value) {
    size_t length = strlen(name);
    if (word[0] != '/' || strncasecmp(word + 1, name, length) != 0)
        return false;
    const char* end = word + 1 + length;
    if (*end != '\0' && *end != '=')
        return false;
    value = *end == '=' ? end + 1 : nullptr;
    return true;
}

bool SetValue(PathBuffer& target, const char* value) {
    if (!value || !*value)
        return false;
    // Fits: the word it comes from did.
    memcpy(target, value, strlen(value) + 1);
    return true;
}

bool ReadWord(const char* word, SetupOptions& options) {
    const char* value = nullptr;
    if (IsSwitch(word, kSwitchVerySilent, value) || IsSwitch(word, kSwitchSilent, value))
        return !value && (options.silent = true);
    if (IsSwitch(word, kSwitchUninstall, value))
        return !value && (options.uninstall = true);
    if (IsSwitch(word, kSwitchDir, value))
        return SetValue(options.folder, value);
    if (IsSwitch(word, kSwitchLang, value))
        return SetValue(options.language, value);
    if (IsSwitch(word, kSwitchLog, value))
        return SetValue(options.log, value);
    if (IsSwitch(word, kSwitchElevated, value))
        return !value && (options.elevated = true);
    if (IsSwitch(word, kSwitchSource, value))
        return SetValue(options.source, value);
    if (IsSwitch(word, kSwitchGlide, value))
        return !value && (options.glide = true);
    if (IsSwitch(word, kSwitchOwner, value)) {
        char* end = nullptr;
        options.owner = value ? strtoul(value, &end, 10) : 0;
        return options.owner != 0 && *end == '\0';
    }
    return false;
}

void Name(const char* word, char* bad, size_t badSize) {
    if (badSize == 0)
        return;
    size_t length = strnlen(word, badSize - 1);
    memcpy(bad, word, length);
    bad[length] = '\0';
}

} // namespace

bool ParseCommandLine(const char* arguments, SetupOptions& options, char* bad, size_t badSize) {
    memset(&options, 0, sizeof options);
    Name("", bad, badSize);
    for (const char* at = SkipSpaces(arguments); *at; at = SkipSpaces(at)) {
        if (strncasecmp(at, "/D=", 3) == 0) {
            if (TakeRest(at + 3, options.folder))
                return true;
            Name(at, bad, badSize);
            return false;
        }
        const char* start = at;
        PathBuffer word;
        if (!TakeWord(at, word) || !ReadWord(word, options)) {
            Name(start, bad, badSize);
            return false;
        }
    }
    // The uninstaller acts on the installation its own record names, never
    // on one a command line names.
    if (options.uninstall && (options.folder[0] || options.language[0])) {
        if (badSize > 0)
            FormatText(bad, badSize, "/%s", options.folder[0] ? kSwitchDir : kSwitchLang);
        return false;
    }
    return true;
}

namespace {

// Appends " /NAME" when `given`; false when it does not fit.
bool AppendSwitch(char* buffer, size_t size, const char* name, bool given) {
    size_t length = strlen(buffer);
    return !given || FormatText(buffer + length, size - length, " /%s", name);
}

// Appends ` "/NAME=value"` when `value` is set; false when it does not fit
// or holds a quote.
bool AppendValue(char* buffer, size_t size, const char* name, const char* value) {
    if (!value[0])
        return true;
    size_t length = strlen(buffer);
    return !strchr(value, '"') &&
           FormatText(buffer + length, size - length, " \"/%s=%s\"", name, value);
}

} // namespace

bool FormatElevatedCommandLine(char* buffer, size_t size, const SetupOptions& options,
                               const char* fullLog) {
    if (!FormatText(buffer, size, "/%s", kSwitchElevated) ||
        !AppendSwitch(buffer, size, kSwitchSilent, options.silent) ||
        !AppendSwitch(buffer, size, kSwitchUninstall, options.uninstall) ||
        !AppendSwitch(buffer, size, kSwitchGlide, options.glide))
        return false;
    size_t length = strlen(buffer);
    return (!options.owner ||
            FormatText(buffer + length, size - length, " /%s=%lu", kSwitchOwner, options.owner)) &&
           AppendValue(buffer, size, kSwitchDir, options.folder) &&
           AppendValue(buffer, size, kSwitchLang, options.language) &&
           AppendValue(buffer, size, kSwitchLog, fullLog) &&
           AppendValue(buffer, size, kSwitchSource, options.source);
}

const char* SkipProgramName(const char* commandLine) {
    const char* at = commandLine;
    if (*at == '"') {
        const char* end = strchr(at + 1, '"');
        at = end ? end + 1 : at + strlen(at);
    }
    while (*at && !IsSpace(*at))
        ++at;
    return SkipSpaces(at);
}
