// Code page conversion with the Win32 functions, for langtool.exe.

#include "CodePage.h"

#include <windows.h>

namespace {

// The UTF code pages take neither WC_NO_BEST_FIT_CHARS nor a default char.
bool IsUtfCodePage(unsigned codePage) {
    return codePage == CP_UTF8 || codePage == CP_UTF7;
}

ConvertResult ToWide(unsigned codePage, const std::string& in, std::wstring* out) {
    out->clear();
    if (in.empty()) {
        return ConvertResult::Ok;
    }
    int size =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), (int)in.size(), nullptr, 0);
    if (size <= 0) {
        return ConvertResult::InvalidInput;
    }
    out->resize((size_t)size);
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), (int)in.size(), &(*out)[0],
                        size);
    return ConvertResult::Ok;
}

ConvertResult FromWide(unsigned codePage, const std::wstring& in, std::string* out) {
    out->clear();
    if (in.empty()) {
        return ConvertResult::Ok;
    }
    DWORD flags = IsUtfCodePage(codePage) ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* pUsedDefault = IsUtfCodePage(codePage) ? nullptr : &usedDefault;
    int size = WideCharToMultiByte(codePage, flags, in.data(), (int)in.size(), nullptr, 0, nullptr,
                                   pUsedDefault);
    if (size <= 0 || usedDefault) {
        return ConvertResult::Unrepresentable;
    }
    out->resize((size_t)size);
    WideCharToMultiByte(codePage, flags, in.data(), (int)in.size(), &(*out)[0], size, nullptr,
                        nullptr);
    return ConvertResult::Ok;
}

// Through UTF-16, the form both Win32 conversion functions share.
ConvertResult Convert(unsigned from, unsigned to, const std::string& in, std::string* out) {
    std::wstring wide;
    ConvertResult result = ToWide(from, in, &wide);
    return result == ConvertResult::Ok ? FromWide(to, wide, out) : result;
}

} // namespace

ConvertResult Utf8ToCodePage(unsigned codePage, const std::string& in, std::string* out) {
    if (!IsValidCodePage(codePage)) {
        return ConvertResult::Unsupported;
    }
    return Convert(CP_UTF8, codePage, in, out);
}

ConvertResult CodePageToUtf8(unsigned codePage, const std::string& in, std::string* out) {
    if (!IsValidCodePage(codePage)) {
        return ConvertResult::Unsupported;
    }
    return Convert(codePage, CP_UTF8, in, out);
}
