#include "Medium.h"

#include <windows.h>

#include <algorithm>

#include "Paths.h"
#include "text/LanguageWriter.h"
#include "text/SetupPair.h"
#include "text/TextCatalogue.h"

namespace e2e {

namespace {

void MarkReadOnlyTree(const std::string& folder) {
    ForEachEntry(folder, [](const std::string& path, bool isFolder) {
        if (isFolder)
            MarkReadOnlyTree(path);
        else
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    });
}

void MakeParentFolders(const std::string& path, const Where& where) {
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos)
        MakeFolders(path.substr(0, slash), where);
}

} // namespace

Texts EnglishTexts(const Texts& changes) {
    Texts texts = {
        {TXT_DIALOG_TITLE, "The Vellmor Setup"},
        {TXT_INSTALL_TO, "Install to:"},
        {TXT_BROWSE, "Browse..."},
        {TXT_INSTALL, "Install"},
        {TXT_EXIT, "Exit"},
        {TXT_BROWSE_TITLE, "Choose the folder to install The Vellmor in"},
        {TXT_INSTALL_DONE, "The Vellmor has been installed."},
        {TXT_INSTALL_DONE_CAPTION, "Setup complete"},
        {TXT_RUN_INSTALLED, "The Vellmor is already installed. Run it now?"},
        {TXT_RUN_INSTALLED_CAPTION, "The Vellmor"},
        {TXT_BROWSE_CAPTION, "Browse for folder"},
        {TXT_LANGUAGE_SELECTION, "Language:"},
    };
    for (const auto& change : changes) {
        auto same = [&](const auto& text) { return text.first == change.first; };
        auto at = std::find_if(texts.begin(), texts.end(), same);
        if (at == texts.end())
            texts.push_back(change);
        else
            at->second = change.second;
    }
    return texts;
}

void WriteLanguage(const std::string& base, const Texts& texts, Where where) {
    std::vector<LanguageText> records;
    for (const auto& text : texts)
        records.push_back({text.first, text.second.c_str()});
    Require(WriteLanguageTable(base.c_str(), records.data(), records.size()), where,
            "cannot write the language table " + base);
}

Medium Medium::Product() {
    Medium medium;
    medium.WithCopyOf("The Vellmor\\Vellmor.exe", StubExe());
    medium.WithCopyOf("The Vellmor\\Setup.exe", StubExe());
    medium.WithCopyOf("Glide\\Glide2x.dll", GlideDll());
    medium.WithLanguage("English", EnglishTexts());
    return medium;
}

Medium Medium::Foreign() {
    Medium medium;
    medium.WithFile("AUTORUN.INF", "[autorun]\r\nopen=Other\\Setup.exe\r\n");
    medium.WithCopyOf("Other\\Setup.exe", StubExe());
    medium.WithCopyOf("Other\\Other.exe", StubExe());
    return medium;
}

Medium& Medium::WithoutLanguages() {
    languages_.clear();
    return *this;
}

Medium& Medium::WithLanguage(const std::string& name, const Texts& texts, const Texts& gameOwn) {
    Language language = {name, gameOwn, {}};
    for (const auto& text : texts)
        (InSetupPair(text.first) ? language.setup : language.game).push_back(text);
    if (!language.setup.empty()) {
        language.setup.push_back({text::kSetupMarkerRecord, text::kSetupPairMarker});
        language.setup.push_back({text::kSetupDirectionRecord, text::kLeftToRight});
    }
    languages_.push_back(language);
    return *this;
}

Medium& Medium::WithOldLanguage(const std::string& name, const Texts& texts) {
    languages_.push_back({name, texts, {}});
    return *this;
}

Medium& Medium::WithFile(const std::string& path, const std::string& contents) {
    Without(path);
    files_.push_back({path, contents, ""});
    return *this;
}

Medium& Medium::WithCopyOf(const std::string& path, const std::string& source) {
    Without(path);
    files_.push_back({path, "", source});
    return *this;
}

Medium& Medium::Without(const std::string& path) {
    for (size_t i = files_.size(); i-- > 0;) {
        if (_stricmp(files_[i].path.c_str(), path.c_str()) == 0)
            files_.erase(files_.begin() + static_cast<long>(i));
    }
    return *this;
}

Medium& Medium::ReadOnlyFolders() {
    readOnlyFolders_ = true;
    return *this;
}

void Medium::WriteTo(const std::string& folder, Where where) const {
    MakeFolders(folder, where);
    for (const File& file : files_) {
        std::string path = JoinPath(folder, file.path);
        MakeParentFolders(path, where);
        if (file.source.empty())
            WriteWholeFile(path, file.contents, where);
        else
            CopyOneFile(file.source, path, where);
    }
    for (const Language& language : languages_) {
        std::string base = JoinPath(folder, "Languages\\" + language.name);
        MakeParentFolders(base, where);
        WriteLanguage(base, language.game, where);
        if (language.setup.empty())
            continue;
        std::string setupBase = JoinPath(folder, "Languages\\Setup\\" + language.name);
        MakeParentFolders(setupBase, where);
        WriteLanguage(setupBase, language.setup, where);
    }
    if (readOnly_)
        MarkReadOnlyTree(folder);
    Require(!readOnlyFolders_ || RunLinuxShell("find '" + LinuxPath(folder, where) +
                                                   "' -mindepth 1 -type d -exec chmod a-w {} +",
                                               windriver::kTimeoutMs, where) == 0,
            where, "cannot make the folders of " + folder + " read-only");
}

void InsertDisc(char letter, const Medium& medium, Where where) {
    EjectDisc(letter, where);
    medium.WriteTo(DriveFolder(letter), where);
}

void EjectDisc(char letter, Where where) {
    std::string folder = DriveFolder(letter);
    if (!FolderExists(folder))
        return;
    // Folders made read-only on Linux cannot lose their entries otherwise
    // (unless the tests run as root).
    RunLinuxShell("chmod -R u+w '" + LinuxPath(folder, where) + "'", windriver::kTimeoutMs, where);
    EmptyFolder(folder, where);
    // The fixed disk keeps its root folder.
    Require((letter | 0x20) == (kFixedDrive | 0x20) || RemoveDirectoryA(folder.c_str()), where,
            "cannot take the disc out of " + std::string(1, letter) + ":");
}

} // namespace e2e
