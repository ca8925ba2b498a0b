// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The order of a flash list sorted by a click on its header: by file name, byte by byte, with
// only the letters a-z folded onto A-Z and no locale, so that every machine sorts alike.

#include <string_view>

namespace FlashOrder
{

// Negative when name a goes before name b, zero when they are equal, positive otherwise. The
// bytes 91 to 96 (the underscore among them) go after every letter, digits and the hyphen
// before them; a name that is the start of another goes first.
int Compare(std::string_view a, std::string_view b);

} // namespace FlashOrder
