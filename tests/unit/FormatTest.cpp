// Bounded formatting on the system C runtime: the result is always
// terminated, and a text that does not fit is reported, also when it fills
// the buffer exactly (where the runtime itself leaves no NUL).

#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "text/Format.h"

TEST(FormatText, FitsAndReportsTruncation) {
    char buffer[8];
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%s-%d", "ab", 42));
    EXPECT_STREQ("ab-42", buffer);

    // Seven characters and the NUL fit exactly; eight do not.
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%s", "1234567"));
    EXPECT_STREQ("1234567", buffer);
    memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%s", "12345678"));
    EXPECT_EQ('\0', buffer[sizeof buffer - 1]);
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%s\\%s", "C:\\Games", "The Vellmor"));
    EXPECT_EQ(7u, strlen(buffer));
}

TEST(FormatText, FormatPathTakesTheBufferSize) {
    char path[260];
    std::string long_name(260 - 4, 'a');
    EXPECT_TRUE(FormatPath(path, "C:\\%s", long_name.c_str()));
    EXPECT_FALSE(FormatPath(path, "C:\\%s\\", long_name.c_str()));
    EXPECT_LT(strlen(path), sizeof path);
}
