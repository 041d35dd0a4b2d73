// The overlay description: five integers split at ';', runs of separators
// counting as one, missing fields as 0, each field read as sign and digits.
#include <gtest/gtest.h>

#include "document/OverlayDescription.h"

TEST(OverlayDescription, FieldsAreSplitAndReadAsIntegers) {
    struct Case {
        const char* text;
        double x, y, size;
        int anchor;
        double opacity;
    };
    const Case cases[] = {
        {"10;20;30;4;80", 10, 20, 30, 4, 80},
        {";;10;;20;30;4;80", 10, 20, 30, 4, 80},
        {"10;20;30", 10, 20, 30, 0, 0},
        {"12.5;7px;x;2;100", 12, 7, 0, 2, 100},
        {" +5; -6;\t7;1;50;99;99", 5, -6, 7, 1, 50},
        {"", 0, 0, 0, 0, 0},
        {";;;;", 0, 0, 0, 0, 0},
        {"- 5;+-3;1e3;0x10;", 0, 0, 1, 0, 0},
        {"99999999999999999999;-99999999999999999999;1;2;3", 2147483647.0, -2147483648.0, 1, 2, 3},
        {"1;2;3;4;5;", 1, 2, 3, 4, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const OverlayDescription d = ParseOverlayDescription(c.text);
        EXPECT_EQ(d.posX, c.x);
        EXPECT_EQ(d.posY, c.y);
        EXPECT_EQ(d.size, c.size);
        EXPECT_EQ(d.anchor, c.anchor);
        EXPECT_EQ(d.opacity, c.opacity);
    }
}
