// PO files through libgettextpo: it parses and reports a file's syntax
// errors as msgfmt does, and writes in the layout msgmerge keeps.

#include <errno.h>
#include <gettext-po.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

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
bool StartsWithByteOrderMark(const char* path) {
    char start[3] = {0, 0, 0};
    FILE* file = fopen(path, "rb");
    bool read = file != nullptr && fread(start, 1, sizeof(start), file) == sizeof(start);
    if (file != nullptr) {
        fclose(file);
    }
    return read && memcmp(start, "\xEF\xBB\xBF", 3) == 0;
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
    if (StartsWithByteOrderMark(path)) {
        report.Error(1, "the file starts with a byte order mark, which gettext's tools do not "
                        "read: save it as UTF-8 without one");
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
        po_message_set_fuzzy(message, entry.fuzzy);
        po_message_insert(iterator, message);
    }
    po_message_iterator_free(iterator);
    bool ok = WritePoText(file, text, err);
    po_file_free(file);
    return ok;
}

} // namespace langtool
