#include <gtest/gtest.h>

#include "platform/String.h"

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
