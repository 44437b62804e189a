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

struct Control {
    unsigned id;
    std::string cls; // class name, or "#<atom>"
    DWORD style;
    short x, y, cx, cy;
    std::string text; // text, or "#<ordinal>"
};

struct Template {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption, font;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::vector<Control> controls;
};

class Reader {
  public:
    explicit Reader(const BYTE* p) : m_p(p), m_start(p) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    BYTE Byte() { return Take<BYTE>(); }
    std::string SzOrOrd() {
        if (Peek() == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        std::string s;
        for (WORD c; (c = Word()) != 0;)
            s += (char)c;
        return s;
    }
    void AlignDword() {
        while ((m_p - m_start) % 4)
            ++m_p;
    }

  private:
    WORD Peek() const { return *(const WORD*)m_p; }
    template <class T> T Take() {
        T value;
        memcpy(&value, m_p, sizeof value);
        m_p += sizeof value;
        return value;
    }
    const BYTE* m_p;
    const BYTE* m_start;
};

Template ParseExtended(const BYTE* data) {
    Reader r(data);
    Template t;
    EXPECT_EQ(1, r.Word());
    EXPECT_EQ(0xFFFF, r.Word());
    EXPECT_EQ(0u, r.Dword()); // help id
    t.exStyle = r.Dword();
    t.style = r.Dword();
    WORD count = r.Word();
    t.x = r.Short(), t.y = r.Short(), t.cx = r.Short(), t.cy = r.Short();
    EXPECT_EQ("", r.SzOrOrd()); // menu
    EXPECT_EQ("", r.SzOrOrd()); // class
    t.caption = r.SzOrOrd();
    t.pointSize = r.Word();
    t.weight = r.Word();
    t.italic = r.Byte();
    t.charset = r.Byte();
    t.font = r.SzOrOrd();
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Control c;
        EXPECT_EQ(0u, r.Dword()); // help id
        EXPECT_EQ(0u, r.Dword()); // extended style
        c.style = r.Dword();
        c.x = r.Short(), c.y = r.Short(), c.cx = r.Short(), c.cy = r.Short();
        c.id = r.Dword();
        c.cls = r.SzOrOrd();
        c.text = r.SzOrOrd();
        r.Word(); // no creation data
        t.controls.push_back(c);
    }
    return t;
}

Template ParseStandard(const BYTE* data) {
    Reader r(data);
    Template t;
    t.style = r.Dword();
    t.exStyle = r.Dword();
    WORD count = r.Word();
    t.x = r.Short(), t.y = r.Short(), t.cx = r.Short(), t.cy = r.Short();
    EXPECT_EQ("", r.SzOrOrd());
    EXPECT_EQ("", r.SzOrOrd());
    t.caption = r.SzOrOrd();
    t.pointSize = r.Word();
    t.font = r.SzOrOrd();
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Control c;
        c.style = r.Dword();
        EXPECT_EQ(0u, r.Dword());
        c.x = r.Short(), c.y = r.Short(), c.cx = r.Short(), c.cy = r.Short();
        c.id = r.Word();
        c.cls = r.SzOrOrd();
        c.text = r.SzOrOrd();
        r.Word();
        t.controls.push_back(c);
    }
    return t;
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
    const BYTE* Dialog(int id) {
        HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG);
        EXPECT_NE(nullptr, found);
        return found ? (const BYTE*)LockResource(LoadResource(m_module, found)) : nullptr;
    }
    HMODULE m_module = nullptr;
};

const char* const kButton = "BUTTON";
const char* const kEdit = "EDIT";
const char* const kStatic = "STATIC";
const char* const kComboBox = "COMBOBOX";

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

void ExpectControl(const Control& actual, unsigned id, const char* cls, DWORD style, short x,
                   short y, short cx, short cy, const char* text) {
    SCOPED_TRACE("control " + std::to_string(id) + " " + text);
    EXPECT_EQ(id, actual.id);
    EXPECT_EQ(cls, ClassName(actual.cls));
    EXPECT_EQ(style, actual.style);
    EXPECT_EQ(x, actual.x);
    EXPECT_EQ(y, actual.y);
    EXPECT_EQ(cx, actual.cx);
    EXPECT_EQ(cy, actual.cy);
    EXPECT_EQ(text, actual.text);
}

TEST_F(SetupResources, SetupDialogTemplateHasItsControlsInTabOrder) {
    const BYTE* data = Dialog(IDD_SETUP_DIALOG);
    ASSERT_NE(nullptr, data);
    Template t = ParseExtended(data);
    EXPECT_EQ(0x90C800C0u, t.style);
    EXPECT_EQ(0x00040000u, t.exStyle);
    EXPECT_EQ(0, t.x);
    EXPECT_EQ(0, t.y);
    EXPECT_EQ(276, t.cx);
    EXPECT_EQ(108, t.cy);
    EXPECT_EQ("The Vellmor Setup", t.caption);
    EXPECT_EQ(8, t.pointSize);
    EXPECT_EQ(0, t.weight);
    EXPECT_EQ(0, t.italic);
    EXPECT_EQ(1, t.charset);
    EXPECT_EQ("MS Sans Serif", t.font);

    ASSERT_EQ(8u, t.controls.size());
    ExpectControl(t.controls[0], 1000, kEdit, 0x50810080, 69, 7, 146, 14, "");
    ExpectControl(t.controls[1], 1001, kButton, 0x50010000, 219, 7, 50, 14, "&Browse...");
    ExpectControl(t.controls[2], 1005, kComboBox, 0x50210103, 100, 46, 115, 68, "");
    ExpectControl(t.controls[3], IDOK, kButton, 0x50010001, 11, 87, 78, 14, "&Install");
    ExpectControl(t.controls[4], IDCANCEL, kButton, 0x50010000, 187, 87, 78, 14, "E&xit");
    ExpectControl(t.controls[5], 1006, kStatic, 0x50020000, 7, 10, 59, 8, "Install to:");
    ExpectControl(t.controls[6], 1008, kStatic, 0x50020000, 7, 49, 90, 8, "Language Selection");
    ExpectControl(t.controls[7], 1009, kButton, 0x48010003, 138, 64, 77, 10,
                  "Install Glide Version");
}

TEST_F(SetupResources, AboutBoxTemplateShowsIconVersionAndNotice) {
    const BYTE* data = Dialog(IDD_ABOUTBOX);
    ASSERT_NE(nullptr, data);
    ASSERT_NE(0xFFFF, ((const WORD*)data)[1]) << "the About box is a standard template";
    Template t = ParseStandard(data);
    EXPECT_EQ(0x80C800C0u, t.style);
    EXPECT_EQ(0u, t.exStyle);
    EXPECT_EQ(235, t.cx);
    EXPECT_EQ(55, t.cy);
    EXPECT_EQ("About Setup", t.caption);
    EXPECT_EQ(8, t.pointSize);
    EXPECT_EQ("MS Sans Serif", t.font);

    ASSERT_EQ(4u, t.controls.size());
    ExpectControl(t.controls[0], 0xFFFF, kStatic, 0x50000003, 11, 17, 20, 20, "#128");
    ExpectControl(t.controls[1], 0xFFFF, kStatic, 0x50020080, 40, 10, 119, 8, "Setup Version 1.01");
    EXPECT_EQ(0x50020000u, t.controls[2].style);
    EXPECT_FALSE(t.controls[2].text.empty());
    ExpectControl(t.controls[3], IDOK, kButton, 0x50030001, 178, 7, 50, 14, "OK");
}

TEST_F(SetupResources, IconHasA32And16PixelImageIn16Colours) {
    HRSRC group = FindResourceA(m_module, MAKEINTRESOURCEA(IDR_MAINFRAME), (LPCSTR)RT_GROUP_ICON);
    ASSERT_NE(nullptr, group);
    const BYTE* dir = (const BYTE*)LockResource(LoadResource(m_module, group));
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
// made from Setup.exe's resource 1 asks for elevation without UI access and,
// once active, brings Common Controls 6.
TEST(SetupManifest, SystemReadsElevationAndCommonControls6) {
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
    EXPECT_EQ(ACTCTX_RUN_LEVEL_REQUIRE_ADMIN, level.RunLevel);
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
    HRSRC found = FindResourceA(m_module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_NE(nullptr, found);
    const char* data = (const char*)LockResource(LoadResource(m_module, found));
    std::string text(data, SizeofResource(m_module, found));

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
    EXPECT_NE(std::string::npos, text.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"));

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
