#include "flash_order.h"

#include <algorithm>

namespace FlashOrder
{

namespace
{

// Only a-z: bytes above 127 are left alone, whatever code page the name was written in.
int folded(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 'a' && value <= 'z' ? value - ('a' - 'A') : value;
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
