// PO files through libgettextpo: it parses and reports a file's syntax
// errors as msgfmt does, and writes in the layout msgmerge keeps.

#include <errno.h>
#include <strings.h>
#include <gettext-po.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>

#include "Catalogue.h"
#include "CodePage.h"
#include "Commands.h"
#include "Po.h"

// libgettextpo 0.21 does not free a message's context with its file; the
// sanitizers' leak check is told so, quietly, rather than fail every read.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgettextpo\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

namespace langtool {

namespace {

// The library's handler takes no context of its own: the report of the
// read under way.
CReport* g_report = nullptr;

void Tell(int severity, size_t line, const char* text) {
    std::string message = text;
    while (!message.empty() && message.back() == '\n') {
        message.pop_back();
    }
    int at = line == (size_t)-1 ? 0 : (int)line;
    if (severity == PO_SEVERITY_WARNING) {
        g_report->Warning(at, "%s", message.c_str());
    } else {
        g_report->Error(at, "%s", message.c_str());
    }
    if (severity == PO_SEVERITY_FATAL_ERROR) {
        exit(kExitFailed); // the library requires that a fatal error not return
    }
}

void OnError(int severity, po_message_t, const char*, size_t line, size_t, int, const char* text) {
    Tell(severity, line, text);
}

void OnTwoErrors(int severity, po_message_t, const char*, size_t line, size_t, int,
                 const char* text, po_message_t, const char*, size_t, size_t, int, const char*) {
    Tell(severity, line, text);
}

const po_xerror_handler kHandler = {OnError, OnTwoErrors};

// The charset the header's Content-Type names; ASCII when it names none or
// still holds the template's placeholder, as msgfmt takes it.
std::string Charset(const std::string& header) {
    std::string type = HeaderField(header, "Content-Type");
    size_t at = type.find("charset=");
    std::string charset = at == std::string::npos ? "" : type.substr(at + 8);
    charset.erase(std::min(charset.find_first_of(" ;"), charset.size()));
    return charset.empty() || charset == "CHARSET" ? "ASCII" : charset;
}

// `text` in UTF-8; an error naming the entry when it is not in `charset`.
bool ToUtf8(const std::string& charset, const char* text, const std::string& context,
            std::string* utf8, CReport& report) {
    if (CharsetToUtf8(charset, text, utf8) != ConvertResult::Ok) {
        report.Error(0, "%s: the text is not valid %s (the header's charset)", context.c_str(),
                     charset.c_str());
        return false;
    }
    return true;
}

// The header's fields and the charset they name; false, with an error, for
// a charset this machine cannot convert.
bool ReadHeader(po_message_t message, PoFile* po, std::string* charset, CReport& report) {
    po->header = po_message_msgstr(message);
    *charset = Charset(po->header);
    std::string probe;
    if (CharsetToUtf8(*charset, "", &probe) == ConvertResult::Unsupported) {
        report.Error(0, "the header's charset %s is not supported here", charset->c_str());
        return false;
    }
    return true;
}

bool ReadEntries(po_file_t file, PoFile* po, CReport& report) {
    po_message_iterator_t iterator = po_message_iterator(file, nullptr);
    std::string charset = "ASCII";
    bool ok = true;
    while (po_message_t message = po_next_message(iterator)) {
        const char* context = po_message_msgctxt(message);
        if (po_message_is_obsolete(message)) {
            continue;
        }
        if (context == nullptr && *po_message_msgid(message) == '\0') {
            if (!ReadHeader(message, po, &charset, report)) {
                ok = false;
                break;
            }
            continue;
        }
        PoEntry entry;
        entry.context = context != nullptr ? context : "";
        entry.fuzzy = po_message_is_fuzzy(message) != 0;
        ok = ToUtf8(charset, po_message_msgid(message), entry.context, &entry.english, report) &&
             ToUtf8(charset, po_message_msgstr(message), entry.context, &entry.translation,
                    report) &&
             ok;
        po->entries.push_back(entry);
    }
    po_message_iterator_free(iterator);
    return ok;
}

po_message_t Message(const char* context, const std::string& english,
                     const std::string& translation) {
    po_message_t message = po_message_create();
    po_message_set_msgctxt(message, context);
    po_message_set_msgid(message, english.c_str());
    po_message_set_msgstr(message, translation.c_str());
    return message;
}

// Editors on Windows may write one; libgettextpo 0.21 takes it for a
// syntax error.
bool StartsWithByteOrderMark(const std::string& data) {
    return data.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

bool SameName(const std::string& charset, const char* name) {
    return strcasecmp(charset.c_str(), name) == 0;
}

// The charset the file's header names, read from its bytes before the
// library parses them; as Charset() reads it.
std::string DeclaredCharset(const std::string& data) {
    size_t at = data.find("charset=");
    if (at == std::string::npos) {
        return "ASCII";
    }
    at += 8;
    size_t end = data.find_first_not_of(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_.:", at);
    std::string charset = data.substr(at, end - at);
    return charset.empty() || charset == "CHARSET" ? "ASCII" : charset;
}

// Where `data` stops being valid UTF-8 (npos: it is), and whether it holds
// a character of more than one byte before that.
size_t InvalidUtf8At(const std::string& data, bool* multiByte) {
    *multiByte = false;
    for (size_t i = 0; i < data.size();) {
        unsigned char c = (unsigned char)data[i];
        int extra = c < 0x80             ? 0
                    : (c & 0xE0) == 0xC0 ? 1
                    : (c & 0xF0) == 0xE0 ? 2
                    : (c & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (extra < 0 || c == 0xC0 || c == 0xC1 || i + extra >= data.size()) {
            return i;
        }
        for (int k = 1; k <= extra; ++k) {
            if (((unsigned char)data[i + k] & 0xC0) != 0x80) {
                return i;
            }
        }
        *multiByte = *multiByte || extra > 0;
        i += extra + 1;
    }
    return std::string::npos;
}

int LineOf(const std::string& data, size_t at) {
    return 1 + (int)std::count(data.begin(), data.begin() + (long)at, '\n');
}

// The two mistakes of a charset that the library would report once per
// character, or not at all: said in one line.
bool CheckCharset(const std::string& data, CReport& report) {
    std::string charset = DeclaredCharset(data);
    bool ascii = SameName(charset, "ASCII") || SameName(charset, "US-ASCII");
    bool multiByte = false;
    if (ascii) {
        size_t other = 0;
        while (other < data.size() && (unsigned char)data[other] < 0x80) {
            ++other;
        }
        if (other < data.size()) {
            report.Error(LineOf(data, other),
                         "the header's charset is ASCII (msginit writes it where the machine lacks "
                         "the locale), but the file holds other characters: save it as UTF-8 and "
                         "set charset=UTF-8 in the header's Content-Type");
            return false;
        }
        return true;
    }
    bool utf8 = SameName(charset, "UTF-8") || SameName(charset, "UTF8");
    size_t invalid = InvalidUtf8At(data, &multiByte);
    if (!utf8 && invalid == std::string::npos && multiByte) {
        report.Error(0, "this file looks like UTF-8; its header says %s: set charset=UTF-8",
                     charset.c_str());
        return false;
    }
    if (utf8 && invalid != std::string::npos) {
        report.Error(LineOf(data, invalid),
                     "the header says charset=UTF-8, but the file is not UTF-8 from here on: it "
                     "is likely in a legacy code page; convert it (iconv -f CP1251 -t UTF-8, with "
                     "its own code page) or name that charset in the header");
        return false;
    }
    return true;
}

// A "\0" escape (octal or hex) in a string ends the text there when the
// library reads it: a NUL the converted text no longer shows.
bool CheckNulEscapes(const std::string& data, CReport& report) {
    bool ok = true;
    for (size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == '#' && (i == 0 || data[i - 1] == '\n')) {
            i = std::min(data.find('\n', i), data.size());
            continue;
        }
        if (data[i] != '\\') {
            continue;
        }
        bool hex = data[i + 1] == 'x';
        size_t start = i + (hex ? 2 : 1);
        size_t end = data.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "01234567", start);
        end = std::min(end, hex ? data.size() : start + 3); // at most three octal digits
        bool nul = end > start && data.find_first_not_of('0', start) >= end;
        if (nul) {
            report.Error(LineOf(data, i), "a \"\\0\" escape puts a NUL into the text, which "
                                          "ends it there: control characters are not allowed");
            ok = false;
        }
        ++i; // past the escaped character: "\\0" is a backslash and a 0
    }
    return ok;
}

// The library writes to a named file only: a scratch file, read back.
bool WritePoText(po_file_t file, std::string* text, FILE* err) {
    char path[] = "/tmp/langtool-XXXXXX";
    int fd = mkstemp(path);
    CReport report("langtool", err);
    g_report = &report;
    bool ok = fd >= 0 && close(fd) == 0 && po_file_write(file, path, &kHandler) &&
              report.Errors() == 0 && ReadWholeFile(path, text);
    g_report = nullptr;
    if (!ok) {
        fprintf(err, "langtool: cannot write the PO file: %s\n", strerror(errno));
    }
    if (fd >= 0) {
        remove(path);
    }
    return ok;
}

} // namespace

std::string HeaderField(const std::string& header, const char* field) {
    char* value = po_header_field(header.c_str(), field);
    std::string result = value != nullptr ? value : "";
    free(value);
    return result;
}

bool ReadPo(const char* path, PoFile* po, CReport& report) {
    int errors = report.Errors();
    std::string data;
    if (!ReadWholeFile(path, &data)) {
        report.Error(0, "cannot read it: %s", strerror(errno));
        return false;
    }
    if (StartsWithByteOrderMark(data)) {
        report.Error(1, "the file starts with a byte order mark, which gettext's tools do not "
                        "read: save it as UTF-8 without one");
        return false;
    }
    if (!CheckCharset(data, report) || !CheckNulEscapes(data, report)) {
        return false;
    }
    g_report = &report;
    errno = 0;
    po_file_t file = po_file_read(path, &kHandler);
    g_report = nullptr;
    if (file == nullptr) {
        report.Error(0, "cannot read it: %s", strerror(errno));
        return false;
    }
    bool ok = ReadEntries(file, po, report);
    po_file_free(file);
    return ok && report.Errors() == errors;
}

bool FormatPo(const PoFile& po, bool fuzzyHeader, std::string* text, FILE* err) {
    po_file_t file = po_file_create();
    po_message_iterator_t iterator = po_message_iterator(file, nullptr);
    po_message_t header = Message(nullptr, "", po.header);
    po_message_set_comments(header, po.headerComment.c_str());
    po_message_set_fuzzy(header, fuzzyHeader);
    po_message_insert(iterator, header);
    for (const PoEntry& entry : po.entries) {
        po_message_t message = Message(entry.context.c_str(), entry.english, entry.translation);
        po_message_set_extracted_comments(message, entry.comment.c_str());
        // gettext's Qt format is ours: %1 to %9, in any order. Marked, msgfmt
        // --check and translators' editors check them as langtool does.
        if (HasPlaceholders(entry.english)) {
            po_message_set_format(message, "qt-format", 1);
        }
        po_message_set_fuzzy(message, entry.fuzzy);
        po_message_insert(iterator, message);
    }
    po_message_iterator_free(iterator);
    bool ok = WritePoText(file, text, err);
    po_file_free(file);
    return ok;
}

} // namespace langtool
