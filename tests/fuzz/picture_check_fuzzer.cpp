// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for the checks that metafiles, bitmaps and icons pass before any decoder sees
// them: on any bytes, as a WMF, an EMF, a bitmap's header or a bitmap file's, or an icon's
// directory, they read nothing outside the bytes (the sanitizers watch), whatever the sizes and
// counts in them claim.

#include "platform/pictures/dib_header.h"
#include "platform/pictures/icon_directory.h"
#include "platform/pictures/metafile_check.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MetafileCheck::IsSoundWmf(bytes);
    MetafileCheck::IsSoundEmf(bytes);
    DibHeader::Read(bytes);
    IconDirectory::Largest(bytes, 1024);
    if (bytes.size() > 14)
        DibHeader::Read(bytes.substr(14)); // after a bitmap file's own header
    return 0;
}
