// The resources of the built Setup.exe, read back from the file: both
// dialog templates control by control, the icon, the About string, the
// version block and the application manifest.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "SetupExe.h"
#include "res/resource.h"

namespace {

// A template may name a standard class by its atom or by its name.
std::string ClassName(std::string cls) {
    static const char* const atoms[][2] = {
        {"#128", "BUTTON"}, {"#129", "EDIT"}, {"#130", "STATIC"}, {"#133", "COMBOBOX"}};
    for (const auto& atom : atoms) {
        if (cls == atom[0])
            return atom[1];
    }
    for (char& c : cls)
        c = (char)toupper((unsigned char)c);
    return cls;
}

struct Control {
    unsigned id;
    std::string cls; // class name, or "#<atom>"
    DWORD style;
    short x, y, cx, cy;
    std::string text; // text, or "#<ordinal>"
};

// A control as one line, so that a failure shows the whole row.
std::string Line(const Control& c) {
    char line[256];
    snprintf(line, sizeof line, "id %u %s style %08lX at %d,%d size %dx%d \"%s\"", c.id,
             ClassName(c.cls).c_str(), (unsigned long)c.style, c.x, c.y, c.cx, c.cy,
             c.text.c_str());
    return line;
}

// A dialog template (DLGTEMPLATEEX or DLGTEMPLATE) read back as lines: its
// header, then its controls in tab order.
std::vector<std::string> Parse(const BYTE* data) {
    // Every field of a template is WORD-aligned.
    const WORD* p = (const WORD*)data;
    auto word = [&p] { return *p++; };
    auto dword = [&p] {
        DWORD value;
        memcpy(&value, p, sizeof value);
        p += 2;
        return value;
    };
    auto text = [&] { // a string, or 0xFFFF and an ordinal ("#<ordinal>")
        if (*p == 0xFFFF) {
            p += 2;
            return "#" + std::to_string(p[-1]);
        }
        std::string s;
        for (WORD c; (c = word()) != 0;)
            s += (char)c;
        return s;
    };
    bool extended = p[1] == 0xFFFF;
    DWORD style = 0, exStyle = 0;
    if (extended) {
        EXPECT_EQ(1, word());   // version
        word();                 // signature
        EXPECT_EQ(0u, dword()); // help id
        exStyle = dword();
        style = dword();
    } else {
        style = dword();
        exStyle = dword();
    }
    WORD count = word();
    short x = word(), y = word(), cx = word(), cy = word();
    EXPECT_EQ("", text()); // menu
    EXPECT_EQ("", text()); // class
    std::string caption = text();
    char line[256];
    snprintf(line, sizeof line, "%s style %08lX ex %08lX at %d,%d size %dx%d \"%s\" font %d",
             extended ? "DIALOGEX" : "DIALOG", (unsigned long)style, (unsigned long)exStyle, x, y,
             cx, cy, caption.c_str(), word());
    std::string header = line;
    if (extended) {
        WORD weight = word(), italicAndCharset = word();
        snprintf(line, sizeof line, " weight %d italic %d charset %d", weight,
                 LOBYTE(italicAndCharset), HIBYTE(italicAndCharset));
        header += line;
    }
    std::vector<std::string> lines{header + " \"" + text() + "\""};
    for (WORD i = 0; i < count; ++i) {
        if ((p - (const WORD*)data) % 2)
            ++p; // each control starts on a DWORD
        Control c;
        if (extended) {
            EXPECT_EQ(0u, dword()); // help id
            EXPECT_EQ(0u, dword()); // extended style
            c.style = dword();
        } else {
            c.style = dword();
            EXPECT_EQ(0u, dword()); // extended style
        }
        c.x = word(), c.y = word(), c.cx = word(), c.cy = word();
        c.id = extended ? dword() : word();
        c.cls = text();
        c.text = text();
        word(); // no creation data
        lines.push_back(Line(c));
    }
    return lines;
}

class SetupResources : public ::testing::Test {
  protected:
    void SetUp() override {
        m_module = LoadLibraryExA(SetupExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, m_module) << SetupExePath();
    }
    void TearDown() override {
        if (m_module)
            FreeLibrary(m_module);
    }
    // The bytes of one of Setup.exe's resources; empty when it has none.
    std::string Resource(LPCSTR type, LPCSTR name) {
        HRSRC found = FindResourceA(m_module, name, type);
        return found ? std::string((const char*)LockResource(LoadResource(m_module, found)),
                                   SizeofResource(m_module, found))
                     : "";
    }
    HMODULE m_module = nullptr;
};

struct Dialog {
    int id;
    const char* header;
    std::vector<Control> controls; // in tab order
};

const Dialog kDialogs[] = {
    {IDD_SETUP_DIALOG,
     "DIALOGEX style 90C800C0 ex 00040000 at 0,0 size 276x108 \"The Vellmor Setup\" "
     "font 8 weight 0 italic 0 charset 1 \"MS Sans Serif\"",
     {
         {IDC_INSTALL_PATH, "EDIT", 0x50810080, 69, 7, 146, 14, ""},
         {IDC_BROWSE, "BUTTON", 0x50010000, 219, 7, 50, 14, "&Browse..."},
         {IDC_LANGUAGE, "COMBOBOX", 0x50210103, 100, 46, 115, 68, ""},
         {IDOK, "BUTTON", 0x50010001, 11, 87, 78, 14, "&Install"},
         {IDCANCEL, "BUTTON", 0x50010000, 187, 87, 78, 14, "E&xit"},
         // Wider than 29 and 64 units, so that translations are not cut.
         {IDC_LABEL_INSTALL_TO, "STATIC", 0x50020000, 7, 10, 59, 8, "Install to:"},
         {IDC_LABEL_LANGUAGE, "STATIC", 0x50020000, 7, 49, 90, 8, "Language Selection"},
         {IDC_GLIDE, "BUTTON", 0x48010003, 138, 64, 77, 10, "Install Glide Version"},
     }},
    // A standard template: the icon, the version, the notice and OK.
    {IDD_ABOUTBOX,
     "DIALOG style 80C800C0 ex 00000000 at 0,0 size 235x55 \"About Setup\" "
     "font 8 \"MS Sans Serif\"",
     {
         {0xFFFF, "STATIC", 0x50000003, 11, 17, 20, 20, "#128"},
         {0xFFFF, "STATIC", 0x50020080, 40, 10, 119, 8, "Setup Version 1.01"},
         {0xFFFF, "STATIC", 0x50020000, 40, 25, 119, 8, "Copyright (C) Brightfen"},
         {IDOK, "BUTTON", 0x50030001, 178, 7, 50, 14, "OK"},
     }},
};

TEST_F(SetupResources, DialogTemplatesHaveTheirControlsInTabOrder) {
    for (const Dialog& dialog : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(dialog.id));
        std::string data = Resource((LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(dialog.id));
        ASSERT_FALSE(data.empty());
        std::vector<std::string> lines = Parse((const BYTE*)data.data());
        std::vector<std::string> expected{dialog.header};
        for (const Control& control : dialog.controls)
            expected.push_back(Line(control));
        EXPECT_EQ(expected.size(), lines.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(expected[i], i < lines.size() ? lines[i] : "") << "line " << i;
    }
}

TEST_F(SetupResources, IconHasA32And16PixelImageIn16Colours) {
    std::string group = Resource((LPCSTR)RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_FALSE(group.empty());
    const BYTE* dir = (const BYTE*)group.data();
    WORD count = ((const WORD*)dir)[2];
    ASSERT_EQ(2, count);
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = dir + 6 + 14 * i; // GRPICONDIRENTRY
        sizes.push_back(entry[0]);
        EXPECT_EQ(16, entry[2]) << "colour count";
        EXPECT_EQ(4, *(const WORD*)(entry + 6)) << "bits per pixel";
    }
    EXPECT_EQ((std::vector<int>{32, 16}), sizes);
}

TEST_F(SetupResources, AboutItemStringIsPresent) {
    char text[64] = "";
    EXPECT_EQ(15, LoadStringA(m_module, IDS_ABOUTBOX, text, sizeof text));
    EXPECT_STREQ("&About Setup...", text);
}

// The manifest as the system's own parser reads it: an activation context
// made from Setup.exe's resource 1 starts with the caller's rights (setup
// asks for an administrator's only for the installation) without UI access
// and, once active, brings Common Controls 6.
TEST(SetupManifest, SystemReadsRunLevelAndCommonControls6) {
    std::string path = SetupExePath();
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << "error " << GetLastError();

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level,
                             sizeof level, &written));
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level.RunLevel);
    EXPECT_EQ(0u, level.UiAccess);

    // The library comes from the Common Controls 6.0 assembly (Wine's copy
    // there still reports version 5.81, so the file is what tells).
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    HMODULE controls = LoadLibraryA("comctl32.dll");
    char file[MAX_PATH] = "";
    GetModuleFileNameA(controls, file, MAX_PATH);
    std::string loaded = file;
    for (char& c : loaded)
        c = (char)tolower((unsigned char)c);
    EXPECT_NE(std::string::npos,
              loaded.find("\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0."))
        << file;
    FreeLibrary(controls);
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}

// What the activation context does not tell, read from the text: the
// versions named, DPI awareness, and the forms Windows XP reads safely.
TEST_F(SetupResources, ManifestNamesTheVersionsDpiAwarenessAndKeepsToXpForms) {
    std::string text = Resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);

    EXPECT_EQ(0u, text.find("<?xml")) << "no byte order mark or blank before the declaration";
    const char* const versions[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
    };
    for (const char* id : versions)
        EXPECT_NE(std::string::npos, text.find(std::string("<supportedOS Id=\"") + id)) << id;
    EXPECT_NE(std::string::npos,
              text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                        "WindowsSettings\">true</dpiAware>"));
    EXPECT_NE(std::string::npos,
              text.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"));

    // XP SP2 restarts on an element that declares a namespace twice; no
    // prefixed names, so every element carries at most one declaration.
    for (size_t open = text.find('<'); open != std::string::npos; open = text.find('<', open + 1)) {
        std::string tag = text.substr(open, text.find('>', open) - open);
        if (tag.compare(0, 4, "<!--") == 0 || tag.compare(0, 2, "<?") == 0)
            continue;
        size_t first = tag.find("xmlns");
        EXPECT_TRUE(first == std::string::npos || tag.find("xmlns", first + 1) == std::string::npos)
            << tag;
        EXPECT_EQ(std::string::npos, tag.find("xmlns:")) << tag;
    }
}

TEST(SetupVersion, VersionBlockCarriesEveryKey) {
    std::string path = SetupExePath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void**)&fixed, &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x0001014Cu, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x0001014Cu, fixed->dwProductVersionLS);
    EXPECT_EQ(0x28u, fixed->dwFileFlags & fixed->dwFileFlagsMask);
    EXPECT_EQ((DWORD)VOS__WINDOWS32, fixed->dwFileOS);
    EXPECT_EQ((DWORD)VFT_APP, fixed->dwFileType);

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&translation, &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);

    const char* const expected[][2] = {
        {"Comments", "The Installation Program for The Vellmor"},
        {"CompanyName", "Brightfen"},
        {"FileDescription", "The Vellmor Installation"},
        {"FileVersion", "1.01.332"},
        {"InternalName", "Setup"},
        {"LegalTrademarks", "None"},
        {"OriginalFilename", "Setup"},
        {"PrivateBuild", "01"},
        {"ProductName", "Setup Application"},
        {"ProductVersion", "1.01"},
        {"SpecialBuild", "332"},
    };
    for (const auto& pair : expected) {
        std::string key = std::string("\\StringFileInfo\\040904B0\\") + pair[0];
        char* value = nullptr;
        ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), (void**)&value, &length)) << key;
        EXPECT_STREQ(pair[1], value) << key;
    }
}

} // namespace
