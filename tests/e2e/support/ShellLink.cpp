#include "ShellLink.h"

#include <objbase.h>
#include <shlobj.h>

namespace e2e {

namespace {

void ReadProperties(IShellLinkA* link, ShellLinkInfo* info) {
    char text[MAX_PATH] = "";
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    info->target = text;
    text[0] = '\0';
    link->GetDescription(text, sizeof text);
    info->description = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, sizeof text);
    info->workingDirectory = text;
    text[0] = '\0';
    link->GetArguments(text, sizeof text);
    info->arguments = text;
}

} // namespace

ShellLinkInfo ReadShellLink(const std::string& path) {
    ShellLinkInfo info;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR widePath[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH))
            info.loaded = file->Load(widePath, STGM_READ);
        if (SUCCEEDED(info.loaded))
            ReadProperties(link, &info);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return info;
}

} // namespace e2e
