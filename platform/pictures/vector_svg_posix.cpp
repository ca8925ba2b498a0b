// SPDX-License-Identifier: GPL-2.0-or-later
#include "vector_svg.h"

#include "metafile_check.h"
#include "metafile_to_svg.h"

std::optional<std::string> VectorSvg(VectorKind kind, const std::string& bytes)
{
    switch (kind) {
    case VectorKind::Wmf:
        if (MetafileCheck::IsSoundWmf(bytes))
            return MetafileToSvg::FromWmf(bytes);
        break;
    case VectorKind::Emf:
        if (MetafileCheck::IsSoundEmf(bytes))
            return MetafileToSvg::FromEmf(bytes);
        break;
    case VectorKind::Svg:
        return bytes;
    }
    return std::nullopt;
}
