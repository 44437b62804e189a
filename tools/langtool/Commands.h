#pragma once
// The langtool commands and what they share.

#include <stdio.h>

#include <string>
#include <vector>

namespace langtool {

struct Source;

enum { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

const unsigned kDefaultCodePage = 1252;

struct CodePageOption {
    unsigned codePage = kDefaultCodePage;
    bool given = false; // --codepage was on the command line
};

int Build(const char* source, const std::string& base, const CodePageOption& option, FILE* out,
          FILE* err);
int Dump(const std::string& base, unsigned codePage, FILE* out, FILE* err);
int Check(const std::string& base, unsigned codePage, FILE* out, FILE* err);
int PrintCodePage(const char* source, FILE* out, FILE* err);
int Status(const char* master, const std::vector<const char*>& languages, FILE* out, FILE* err);
int Update(const char* master, const char* language, FILE* out, FILE* err);

// Reads and parses a source, repeated indexes included; reports to `err`.
bool ReadSource(const char* path, Source* source, FILE* err);

// The whole file at `path`; false when it cannot be read (errno tells why).
bool ReadWholeFile(const std::string& path, std::string* data);

// Whether `temp` can be created, reporting the system's reason as one for
// `target` when it cannot.
bool CanWrite(const std::string& temp, const std::string& target, FILE* err);

// Renames `temp` over `target`, removing `temp` when that fails.
bool ReplaceFile(const std::string& temp, const std::string& target, FILE* err);

// Writes `data` to `path` through a temporary file beside it.
bool WriteFileInPlace(const std::string& path, const std::string& data, FILE* err);

// Whether `base` can name a table setup reads: it must open BASE.sif with a
// path buffer of MAX_PATH. Reports the problem to `err`.
bool IsReadableBase(const std::string& base, FILE* err);

} // namespace langtool
