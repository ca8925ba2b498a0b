// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Windows metafiles converted to SVG by the libraries made for it: libemf2svg for enhanced
// metafiles (EMF and EMF+), libwmf for the older Windows metafiles (WMF). Kept free of Qt,
// because libwmf's headers define macros that clash with Qt's.

#include <optional>
#include <string>

namespace MetafileToSvg
{

// The SVG document of an enhanced metafile; nothing when the bytes are not one.
std::optional<std::string> FromEmf(const std::string& bytes);

// The SVG document of a Windows metafile (with or without placeable header); nothing when the
// bytes are not one.
std::optional<std::string> FromWmf(const std::string& bytes);

} // namespace MetafileToSvg
