#include <gtest/gtest.h>

#include "platform/String.h"

TEST(CString, SelfAssignmentAndCopiesKeepTheirText) {
    CString text("C:\\Games\\The Vellmor");
    text = text;
    EXPECT_STREQ("C:\\Games\\The Vellmor", text);
    CString copy(text);
    text = "other";
    EXPECT_STREQ("C:\\Games\\The Vellmor", copy);
}
