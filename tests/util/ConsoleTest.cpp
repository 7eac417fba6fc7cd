// The console channel: captures nest, and each redirect restores the stream before it.
#include "util/Console.h"

#include <gtest/gtest.h>

#include <iostream>

TEST(Console, CapturesNestAndRestoreTheirStream) {
    EXPECT_EQ(&console(), &std::cout);
    {
        ConsoleCapture outer;
        console() << "a" << 1 << ' ';
        {
            ConsoleCapture inner;
            console() << 2.5 << "\n";
            EXPECT_EQ(inner.text(), "2.5\n");
        }
        console() << "b";
        EXPECT_EQ(outer.text(), "a1 b") << "the inner capture's text stays out of the outer one";
    }
    EXPECT_EQ(&console(), &std::cout);
}
