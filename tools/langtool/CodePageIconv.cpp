// Code page and charset conversion with iconv (glibc), for the Linux build.

#include "CodePage.h"

#include <errno.h>
#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <uninorm.h>

namespace {

// iconv's name of a Windows code page.
std::string IconvName(unsigned codePage) {
    if (codePage == 65001) {
        return "UTF-8";
    }
    char name[16];
    snprintf(name, sizeof(name), "CP%u", codePage);
    return name;
}

// Converts `in` from `from` to `to`. Invalid or unmappable input both come
// back as EILSEQ; callers tell them apart by the conversion step they run.
ConvertResult Convert(const std::string& from, const std::string& to, const std::string& in,
                      std::string* out, ConvertResult onBadSequence) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == (iconv_t)-1) {
        return ConvertResult::Unsupported;
    }
    out->assign(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = &(*out)[0];
    size_t dstLeft = out->size();
    ConvertResult result = ConvertResult::Ok;
    // The final call with no input flushes any pending shift state.
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == (size_t)-1 ||
        iconv(cd, nullptr, nullptr, &dst, &dstLeft) == (size_t)-1) {
        result = errno == EILSEQ ? onBadSequence : ConvertResult::InvalidInput;
    }
    out->resize(out->size() - dstLeft);
    iconv_close(cd);
    return result;
}

} // namespace

std::string ComposeNfc(const std::string& utf8) {
    size_t length = 0;
    uint8_t* composed =
        u8_normalize(UNINORM_NFC, (const uint8_t*)utf8.data(), utf8.size(), nullptr, &length);
    if (composed == nullptr) {
        return utf8;
    }
    std::string result((const char*)composed, length);
    free(composed);
    return result;
}

ConvertResult Utf8ToCodePage(unsigned codePage, const std::string& in, std::string* out) {
    // Through UTF-32 so that bad UTF-8 and unmappable characters differ.
    std::string wide;
    ConvertResult result =
        Convert("UTF-8", "UTF-32LE", ComposeNfc(in), &wide, ConvertResult::InvalidInput);
    if (result != ConvertResult::Ok) {
        return result;
    }
    return Convert("UTF-32LE", IconvName(codePage), wide, out, ConvertResult::Unrepresentable);
}

ConvertResult CodePageToUtf8(unsigned codePage, const std::string& in, std::string* out) {
    return Convert(IconvName(codePage), "UTF-8", in, out, ConvertResult::InvalidInput);
}

ConvertResult CharsetToUtf8(const std::string& charset, const std::string& in, std::string* out) {
    return Convert(charset, "UTF-8", in, out, ConvertResult::InvalidInput);
}
