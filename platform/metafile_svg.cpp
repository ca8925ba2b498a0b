#include "metafile.h"
#include "metafile_to_svg.h"

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

namespace
{

class SvgDrawing : public MetafileDrawing
{
public:
    explicit SvgDrawing(const std::string& svg) : m_renderer(QByteArray::fromStdString(svg))
    {
        m_renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    }

    bool IsValid() const { return m_renderer.isValid(); }

    void Draw(QPainter& painter, const QRectF& box) const override
    {
        m_renderer.render(&painter, box);
    }

private:
    // Rendering changes nothing that a later drawing sees.
    mutable QSvgRenderer m_renderer;
};

} // namespace

std::unique_ptr<MetafileDrawing> MetafileDrawing::Read(const std::string& bytes, Kind kind)
{
    const auto svg =
        kind == Kind::Emf ? MetafileToSvg::FromEmf(bytes) : MetafileToSvg::FromWmf(bytes);
    if (!svg)
        return nullptr;
    auto drawing = std::make_unique<SvgDrawing>(*svg);
    if (!drawing->IsValid())
        return nullptr;
    return drawing;
}
