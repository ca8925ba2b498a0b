// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A walk over a metafile's records before any player sees it: every record inside the file, the
// file ending with its end-of-file record, and every bitmap a record carries with a header that
// fits the record and sizes within the picture limits. The players trust these fields, and read
// past the end, loop or allocate without bound when they lie.

#include <string_view>

namespace MetafileCheck
{

// A Windows metafile, with or without its placeable header.
bool IsSoundWmf(std::string_view bytes);

// An enhanced metafile (EMF records, with or without EMF+ comments).
bool IsSoundEmf(std::string_view bytes);

} // namespace MetafileCheck
