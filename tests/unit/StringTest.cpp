#include <gtest/gtest.h>

#include "platform/String.h"

TEST(CString, TrimRemovesWhiteSpaceAtBothEndsOnly) {
    CString text("  \t C:\\Games Folder \r\n");
    text.Trim();
    EXPECT_STREQ("C:\\Games Folder", text);
    EXPECT_EQ(15, text.GetLength());

    CString blank("   ");
    blank.Trim();
    EXPECT_TRUE(blank.IsEmpty());
}

TEST(CString, FindIsCaseSensitiveAndFindsTheFirstOccurrence) {
    CString text("C:\\the vellmor\\The Vellmor\\The Vellmor");
    EXPECT_EQ(15, text.Find("The Vellmor"));
    EXPECT_EQ(-1, text.Find("THE VELLMOR"));
    EXPECT_EQ(0, text.Find(""));
}

TEST(CString, LeftTakesAtMostTheWholeString) {
    CString text("C:\\Games\\The Vellmor");
    EXPECT_STREQ("C:\\Games\\", text.Left(9));
    EXPECT_STREQ("", text.Left(0));
    EXPECT_STREQ("C:\\Games\\The Vellmor", text.Left(500));
}

TEST(CString, ReplaceChangesEveryOccurrenceCaseSensitively) {
    CString text("D:\\The Vellmor\\x\\The Vellmor\\the vellmor\\The Vellmor");
    EXPECT_EQ(3, text.Replace("\\The Vellmor", ""));
    EXPECT_STREQ("D:\\x\\the vellmor", text);
    EXPECT_EQ(0, text.Replace("\\The Vellmor", ""));

    CString grow("a%b%c");
    EXPECT_EQ(2, grow.Replace("%", "%%"));
    EXPECT_STREQ("a%%b%%c", grow);
}

TEST(CString, FormatHandlesLongResultsAndSelfAssignment) {
    CString text;
    text.Format("%s\\%s", "C:\\Games", "The Vellmor");
    EXPECT_STREQ("C:\\Games\\The Vellmor", text);

    CString big;
    big.Format("%0500d", 7);
    EXPECT_EQ(500, big.GetLength());

    text = text;
    EXPECT_STREQ("C:\\Games\\The Vellmor", text);
    CString copy(text);
    text = "other";
    EXPECT_STREQ("C:\\Games\\The Vellmor", copy);
}
