#include "ShellLink.h"

#include <objbase.h>
#include <shlobj.h>

namespace e2e {

namespace {

const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void ReadProperties(IShellLinkA* link, ShellLinkInfo* info) {
    // S_FALSE: the link has no such property, and the buffer may be as it was.
    char text[MAX_PATH] = "";
    auto read = [&](HRESULT got) { return got == S_OK ? std::string(text) : std::string(); };
    info->target = read(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH));
    info->description = read(link->GetDescription(text, sizeof text));
    info->workingDirectory = read(link->GetWorkingDirectory(text, sizeof text));
    info->arguments = read(link->GetArguments(text, sizeof text));
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

void ExpectLink(const std::string& path, const std::string& target, const std::string& description,
                const std::string& workingDirectory, Where where) {
    ShellLinkInfo link = ReadShellLink(path);
    if (FAILED(link.loaded)) {
        ADD_FAILURE_AT(where.file, where.line)
            << "link " << path << " does not load: " << link.loaded;
        return;
    }
    auto shown = [](const std::string& target, const std::string& description,
                    const std::string& folder, const std::string& arguments) {
        return "'" + target + "' '" + arguments + "' (" + description + ") in '" + folder + "'";
    };
    std::string want = shown(target, description, workingDirectory, "");
    std::string got = shown(link.target, link.description, link.workingDirectory, link.arguments);
    if (got != want)
        ADD_FAILURE_AT(where.file, where.line)
            << "link " << path << " starts " << got << "\n   expected " << want;
}

ProgramsFolderOnMissingDrive::ProgramsFolderOnMissingDrive(Where where)
    : savedUser_(ReadValue(HKEY_CURRENT_USER, kShellFolders, "Programs")),
      savedCommon_(ReadValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs")) {
    Require(savedUser_.exists, where, "no Programs folder registered");
    const char missing[] = "Q:\\Start Menu\\Programs";
    WriteValue(HKEY_CURRENT_USER, kShellFolders, "Programs", REG_EXPAND_SZ, missing,
               sizeof missing);
    WriteValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", REG_EXPAND_SZ, missing,
               sizeof missing);
}

ProgramsFolderOnMissingDrive::~ProgramsFolderOnMissingDrive() {
    try {
        WriteValue(HKEY_CURRENT_USER, kShellFolders, "Programs", savedUser_.type,
                   savedUser_.data.data(), static_cast<DWORD>(savedUser_.data.size()));
        if (savedCommon_.exists)
            WriteValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", savedCommon_.type,
                       savedCommon_.data.data(), static_cast<DWORD>(savedCommon_.data.size()));
        else
            DeleteHklmValue(kShellFolders, "Common Programs");
    } catch (const std::exception&) {
        // A destructor may not throw; the prefix is the test's own copy.
    }
}

} // namespace e2e
