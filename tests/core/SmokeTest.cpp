#include <gtest/gtest.h>

#include "colour/Codec.h"

TEST(Codec, WhiteRoundTrips) {
    EXPECT_EQ(zandrel::ColorToWord(zandrel::WordToColor(0x7FFF)), 0x7FFF);
}
