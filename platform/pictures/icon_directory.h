// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An icon file's directory, read before any of its images is decoded. The directory gives each
// image's size as at most 256, but an image stored as PNG is decoded at the size its own header
// gives, whatever the directory says: that size is the one to check.

#include <cstdint>
#include <optional>
#include <string_view>

namespace IconDirectory
{

struct Entry {
    int index = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The image with the most pixels, by the larger of the directory's and the image's own size (the
// largest stretches best), among those of at most maxSide a side; when all are larger, the
// largest of them. Nothing when the file is no icon, its directory runs past its end, or it holds
// no image whose bytes lie inside the file.
std::optional<Entry> Largest(std::string_view file, std::int64_t maxSide);

} // namespace IconDirectory
