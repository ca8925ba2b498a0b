// SPDX-License-Identifier: GPL-2.0-or-later
#include "flash_order.h"

#include "platform/ascii_case.h"

#include <algorithm>

namespace FlashOrder
{

namespace
{

// Only a-z are folded; bytes above 127 compare as unsigned, after the letters.
int folded(char byte)
{
    return static_cast<unsigned char>(AsciiCase::ToUpper(byte));
}

} // namespace

int Compare(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t index = 0; index < common; ++index) {
        if (const int difference = folded(a[index]) - folded(b[index]))
            return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace FlashOrder
