#pragma once
// The three langtool commands and what they share.

#include <stdio.h>

#include <string>

namespace langtool {

enum { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

const unsigned kDefaultCodePage = 1252;

int Build(const char* source, const char* base, unsigned codePage, FILE* err);
int Dump(const char* base, unsigned codePage, FILE* out, FILE* err);
int Check(const char* base, FILE* out, FILE* err);

// The whole file at `path`; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string* data);

// Whether `base` can name a table setup reads: it must open BASE.sif with a
// path buffer of MAX_PATH. Reports the problem to `err`.
bool IsReadableBase(const char* base, FILE* err);

} // namespace langtool
