// SPDX-License-Identifier: GPL-2.0-or-later
// The order of a flash list sorted by a header click.

#include "library/flash_order.h"

#include <gtest/gtest.h>

TEST(FlashOrder, ComparesBytesWithOnlyLettersFolded)
{
    struct Case {
        std::string_view a, b;
        int sign; // of Compare(a, b)
    };
    const Case cases[] = {
        {"abc.fls", "ABC.FLS", 0}, // a-z fold onto A-Z
        {"A.fls", "b.fls", -1},    // case does not decide
        {"a.fls", "B.fls", -1},
        {"z.fls", "_.fls", -1}, // 91-96 go after every letter...
        {"Z.fls", "[.fls", -1}, // ...upper case too
        {"`.fls", "a.fls", 1},  // 96 is not folded
        {"9.fls", "a.fls", -1}, // digits before letters
        {"-.fls", "0.fls", -1}, // the hyphen before digits
        {"a-b.fls", "a_b.fls", -1},
        {"v5.fls", "v5.fls.bak", -1}, // a prefix goes first
        {"v5", "V5A", -1},            // also after folding
        {"", "a", -1},
        {"", "", 0},
        {"\xE9.fls", "\xC9.fls", 1}, // bytes above 127 are not folded
        {"\xE9.fls", "z.fls", 1},    // and go after ASCII
    };
    const auto sign = [](int value) { return (value > 0) - (value < 0); };
    for (const auto& c : cases) {
        EXPECT_EQ(sign(FlashOrder::Compare(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(FlashOrder::Compare(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
    }
}
