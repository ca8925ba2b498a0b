// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Text of a Windows metafile as an SVG document takes it: the bytes decoded by the character set
// of the font they are drawn in, as the system decodes them, and XML's special characters
// escaped. Kept free of Qt in its interface: libwmf's headers clash with Qt's.

#include <string>
#include <string_view>

namespace WmfText
{

// The text content of an SVG text element, in UTF-8, for the bytes drawn in a font of that
// character set (the LOGFONT's lfCharSet). Control characters are left out, as XML allows none.
std::string ToSvgText(std::string_view bytes, unsigned charSet);

} // namespace WmfText
