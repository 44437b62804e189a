#include "common/CommandLine.h"

#include <stddef.h>
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

// What a switch takes, and where it goes in SetupOptions.
enum class Takes : unsigned char { Nothing, Text, Number };
struct Switch {
    const char* name;
    Takes takes;
    bool handedOver; // to the elevated part
    unsigned short field;
};
const Switch kSwitches[] = {
    {kSwitchSilent, Takes::Nothing, true, offsetof(SetupOptions, silent)},
    {kSwitchVerySilent, Takes::Nothing, false, offsetof(SetupOptions, silent)},
    {kSwitchUninstall, Takes::Nothing, true, offsetof(SetupOptions, uninstall)},
    {kSwitchGlide, Takes::Nothing, true, offsetof(SetupOptions, glide)},
    {kSwitchElevated, Takes::Nothing, false, offsetof(SetupOptions, elevated)},
    {kSwitchOwner, Takes::Number, true, offsetof(SetupOptions, owner)},
    {kSwitchDir, Takes::Text, true, offsetof(SetupOptions, folder)},
    {kSwitchLang, Takes::Text, true, offsetof(SetupOptions, language)},
    {kSwitchLog, Takes::Text, false, offsetof(SetupOptions, log)},
    {kSwitchSource, Takes::Text, true, offsetof(SetupOptions, source)},
};

bool ReadWord(const char* word, SetupOptions& options) {
    const char* value = nullptr;
    for (const Switch& s : kSwitches) {
        if (!IsSwitch(word, s.name, value))
            continue;
        char* field = reinterpret_cast<char*>(&options) + s.field;
        if (s.takes == Takes::Text)
            return SetValue(*reinterpret_cast<PathBuffer*>(field), value);
        if (s.takes == Takes::Nothing)
            return !value && (*reinterpret_cast<bool*>(field) = true);
        char* end = nullptr;
        unsigned long& number = *reinterpret_cast<unsigned long*>(field);
        number = value ? strtoul(value, &end, 10) : 0;
        return number != 0 && *end == '\0';
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
    // on one a command line names; the elevated part writes no file that
    // the player named.
    const char* refused = options.uninstall && options.folder[0]     ? kSwitchDir
                          : options.uninstall && options.language[0] ? kSwitchLang
                          : options.elevated && options.log[0]       ? kSwitchLog
                                                                     : nullptr;
    if (refused && badSize > 0)
        FormatText(bad, badSize, "/%s", refused);
    return !refused;
}

bool FormatElevatedCommandLine(char* buffer, size_t size, const SetupOptions& options) {
    if (!FormatText(buffer, size, "/%s", kSwitchElevated))
        return false;
    for (const Switch& s : kSwitches) {
        const char* field = reinterpret_cast<const char*>(&options) + s.field;
        unsigned long number =
            s.takes == Takes::Number ? *reinterpret_cast<const unsigned long*>(field) : 0;
        size_t length = strlen(buffer);
        char* end = buffer + length;
        // A text is quoted whole, and so cannot hold a quote itself.
        bool fits =
            !s.handedOver ||
            (s.takes == Takes::Nothing ? !*field || FormatText(end, size - length, " /%s", s.name)
             : s.takes == Takes::Number
                 ? !number || FormatText(end, size - length, " /%s=%lu", s.name, number)
                 : !*field || (!strchr(field, '"') &&
                               FormatText(end, size - length, " \"/%s=%s\"", s.name, field)));
        if (!fits)
            return false;
    }
    return true;
}

void QuoteLogValue(const char* value, char* quoted, size_t size) {
    // Room for the closing quote and the NUL, and for a whole "<XX>".
    const size_t kTail = 2, kEscape = 4;
    size_t length = 0;
    quoted[length++] = '"';
    for (const unsigned char* at = (const unsigned char*)value; *at; ++at) {
        bool escape = *at < 0x20 || *at == 0x7F || *at == '"' || *at == '<';
        if (length + (escape ? kEscape : 1) + kTail > size)
            break;
        if (escape) {
            FormatText(quoted + length, kEscape + 1, "<%02X>", *at);
            length += kEscape;
        } else {
            quoted[length++] = (char)*at;
        }
    }
    quoted[length++] = '"';
    quoted[length] = '\0';
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
