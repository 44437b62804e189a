// The command line of scripted installs and of the elevated part.

#include <string>
#include <string.h>

#include <gtest/gtest.h>

#include "common/CommandLine.h"

namespace {

// The command line of scripted installs: switch names in any case, values
// quoted in whole or in part, NSIS's /D= as the rest of the line.
TEST(CommandLine, SwitchesAndRefusals) {
    const struct {
        const char* arguments;
        bool silent, uninstall;
        const char *folder, *language, *log;
    } accepted[] = {
        {"", false, false, "", "", ""},
        {"  /VERYSILENT  ", true, false, "", "", ""},
        {"/s /dir=\"C:\\My Games\" /Lang=Deutsch /LOG=\"C:\\setup.log\"", true, false,
         "C:\\My Games", "Deutsch", "C:\\setup.log"},
        {"\"/DIR=C:\\A B\" /LANG=\"Deutsch\"", false, false, "C:\\A B", "Deutsch", ""},
        {"/S /D=C:\\Program Files\\Games  ", true, false, "C:\\Program Files\\Games", "", ""},
        {"/DIR=C:\\One /DIR=C:\\Two", false, false, "C:\\Two", "", ""},
        {"/UNINSTALL /VERYSILENT", true, true, "", "", ""},
        {"/uninstall /S /LOG=C:\\u.log", true, true, "", "", "C:\\u.log"},
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.arguments);
        SetupOptions options;
        char bad[32];
        ASSERT_TRUE(ParseCommandLine(c.arguments, options, bad, sizeof bad)) << bad;
        EXPECT_EQ(c.silent, options.silent);
        EXPECT_EQ(c.uninstall, options.uninstall);
        EXPECT_STREQ(c.folder, options.folder);
        EXPECT_STREQ(c.language, options.language);
        EXPECT_STREQ(c.log, options.log);
    }
    const struct {
        std::string arguments;
        const char* bad;
    } refused[] = {
        {"/QUIET", "/QUIET"},
        {"/S /DIR=", "/DIR="},
        {"/DIR", "/DIR"},
        {"/LANG= /S", "/LANG= /S"},
        {"/S=1", "/S=1"},
        {"/GLIDE=1", "/GLIDE=1"},
        {"/SOURCE= /S", "/SOURCE= /S"},
        {"/SILENTLY", "/SILENTLY"},
        {"Games", "Games"},
        {"/D=", "/D="},
        // The uninstaller's earlier finishing switch, and a folder or
        // language given to it: it acts on its own record's installation.
        {"/UNINSTALL /FINISH=1 /DIR=C:\\Anything", "/FINISH=1 /DIR=C:\\Anything"},
        {"/UNINSTALL /S /DIR=C:\\Anything", "/DIR"},
        {"/LANG=Deutsch /UNINSTALL", "/LANG"},
        // The elevated part keeps its own log: it never makes the player's.
        {"/ELEVATED /S /LOG=C:\\Users\\Public\\evil.bat", "/LOG"},
        {"/DIR=C:\\" + std::string(300, 'a'), "/DIR=C:\\aaaaaaaaaaaaaaaaaaaaaaa"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments);
        SetupOptions options;
        char bad[32];
        EXPECT_FALSE(ParseCommandLine(c.arguments.c_str(), options, bad, sizeof bad));
        EXPECT_STREQ(c.bad, bad);
    }
    EXPECT_STREQ("/S", SkipProgramName("\"C:\\Setup Files\\Setup.exe\"  /S"));
    EXPECT_STREQ("/S", SkipProgramName("D:\\Setup.exe /S"));
    EXPECT_STREQ("", SkipProgramName("Setup"));
}

// What a run without administrator rights hands over to its elevated part
// reads back as the same switches but the log, and marks the elevated part.
TEST(CommandLine, ElevatedPartReadsTheSameSwitches) {
    const struct {
        const char* arguments;
    } cases[] = {
        {""},
        {"/S \"/DIR=  C:\\My Games\\ \" /LANG=Espa\xF1ol /LOG=setup.log"},
        {"/UNINSTALL /VERYSILENT /LOG=C:\\u.log"},
        {"/DIR=C:\\Games /LANG=Deutsch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        SetupOptions options, elevated;
        char bad[32], line[1024];
        ASSERT_TRUE(ParseCommandLine(c.arguments, options, bad, sizeof bad)) << bad;
        options.owner = strstr(c.arguments, "/DIR=C") ? 4242 : 0;
        // What the dialog adds: the disc it found (a root ends in a
        // backslash, before the closing quote) and the Glide check box.
        options.glide = options.owner != 0;
        memcpy(options.source, options.owner ? "E:\\" : "", options.owner ? 4 : 1);
        ASSERT_TRUE(FormatElevatedCommandLine(line, sizeof line, options));
        ASSERT_TRUE(ParseCommandLine(line, elevated, bad, sizeof bad)) << line;
        EXPECT_TRUE(elevated.elevated);
        EXPECT_EQ(options.silent, elevated.silent);
        EXPECT_EQ(options.uninstall, elevated.uninstall);
        EXPECT_EQ(options.owner, elevated.owner);
        EXPECT_STREQ(options.folder, elevated.folder);
        EXPECT_STREQ(options.language, elevated.language);
        EXPECT_STREQ("", elevated.log);
        EXPECT_STREQ(options.source, elevated.source);
        EXPECT_EQ(options.glide, elevated.glide);
    }
    // A quote could not be handed over as it is; nor what does not fit.
    SetupOptions options;
    char bad[32], line[64];
    ASSERT_TRUE(ParseCommandLine("/DIR=C:\\Ga\"\"mes", options, bad, sizeof bad));
    EXPECT_STREQ("C:\\Games", options.folder);
    memcpy(options.folder, "C:\\\"", 5);
    EXPECT_FALSE(FormatElevatedCommandLine(line, sizeof line, options));
    ASSERT_TRUE(
        ParseCommandLine(("/DIR=C:\\" + std::string(60, 'a')).c_str(), options, bad, sizeof bad));
    EXPECT_FALSE(FormatElevatedCommandLine(line, sizeof line, options));
    EXPECT_FALSE(ParseCommandLine("/OWNER=12x", options, bad, sizeof bad));
}

// A value in a log line stays inside its quotes and its line, whatever it
// holds, so that no log can be read as a command; a long one is cut inside
// them.
TEST(CommandLine, LogValuesAreQuoted) {
    const struct {
        std::string value, quoted;
    } cases[] = {
        {"C:\\Games", "\"C:\\Games\""},
        {"E:\\", "\"E:\\\""},
        {"", "\"\""},
        {"x\"&mkdir INJECTED&rem", "\"x<22>&mkdir INJECTED&rem\""},
        {"a\r\nb\tc\x1A\x7F", "\"a<0D><0A>b<09>c<1A><7F>\""},
        {"<22>", "\"<3C>22>\""},
        {"Espa\xF1ol", "\"Espa\xF1ol\""},
    };
    for (const auto& c : cases) {
        char quoted[64];
        QuoteLogValue(c.value.c_str(), quoted, sizeof quoted);
        EXPECT_EQ(c.quoted, quoted) << c.value;
    }
    char cut[8];
    QuoteLogValue("abcdefgh", cut, sizeof cut);
    EXPECT_STREQ("\"abcde\"", cut);
    QuoteLogValue("ab\"cd", cut, sizeof cut);
    EXPECT_STREQ("\"ab\"", cut) << "an escape is never cut in two";
}

} // namespace
