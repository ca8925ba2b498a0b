#pragma once
// A picture file as the schematic windows show it: bitmaps (bmp), icons (ico) and Windows
// metafiles (wmf, emf), the kind taken from the file name's extension in any letter case.
// Drawn stretched to any box, without keeping its proportions. Copies share the loaded,
// unchangeable picture, so they stay independent of each other.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

class QPainter;
class QRectF;

class Picture
{
public:
    class Content;

    // An empty picture draws nothing.
    Picture();
    ~Picture();
    Picture(const Picture&);
    Picture& operator=(const Picture&);

    // Loads the file; shownPath names it in the error texts. Throws std::runtime_error with
    // "Unknown picture file extension (.<ext>)", "Cannot open file <shownPath>" (a
    // Platform::FileError with the reason),
    // "Bitmap image is not valid", "Icon image is not valid" or "Metafile is not valid".
    static Picture Load(const std::filesystem::path& file, std::string_view shownPath);

    bool IsEmpty() const { return !m_content; }

    // Draws the picture filling the box. Areas that an icon or a metafile leaves undrawn keep
    // what was under them.
    void Draw(QPainter& painter, const QRectF& box) const;

private:
    std::shared_ptr<const Content> m_content;
};
