#pragma once
// Conversion between UTF-8 (the tool's source files and output) and a
// Windows code page (the bytes in a language table), done by glibc's iconv
// (CodePageIconv.cpp).

#include <string>

enum class ConvertResult {
    Ok,
    Unrepresentable, // a character the target cannot hold
    InvalidInput,    // the input is not valid in its encoding
    Unsupported,     // the code page is unknown to the library
};

// UTF-8 `in` to code page `codePage` in `out`.
ConvertResult Utf8ToCodePage(unsigned codePage, const std::string& in, std::string* out);

// Code page `codePage` bytes `in` to UTF-8 in `out`.
ConvertResult CodePageToUtf8(unsigned codePage, const std::string& in, std::string* out);
