#pragma once
// Windows metafiles as the picture unit draws them. On Windows the system plays them; elsewhere
// they are converted to SVG (metafile_to_svg.h) and drawn by Qt SVG.

#include <QRectF>
#include <memory>
#include <string>

class QPainter;

class MetafileDrawing
{
public:
    enum class Kind { Wmf, Emf };

    virtual ~MetafileDrawing() = default;

    // Draws the metafile stretched to the box.
    virtual void Draw(QPainter& painter, const QRectF& box) const = 0;

    // Null when the bytes are not a metafile of that kind.
    static std::unique_ptr<MetafileDrawing> Read(const std::string& bytes, Kind kind);
};
