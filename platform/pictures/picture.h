// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A picture file as the schematic windows show it: bitmaps (bmp), icons (ico), Windows
// metafiles (wmf, emf), and PNG, JPEG, GIF and SVG pictures, the kind taken from the file name's
// extension in any letter case. Drawn stretched to any box, without keeping its proportions.
// Copies share the loaded, unchangeable picture, so they stay independent of each other.
// No file can hang or crash the program: sizes are checked before anything is decoded, and
// metafiles and SVG drawings are decoded away from the program (vector_drawing.h).

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class Drawing;
class QObject;
class QPainter;
class QRectF;

class Picture
{
public:
    // An empty picture draws nothing.
    Picture();
    ~Picture();
    Picture(const Picture&);
    Picture& operator=(const Picture&);

    // Loads the file; shownPath names it in the error texts. Throws std::runtime_error with
    // "Unknown picture file extension (.<ext>)", "Cannot open file <shownPath>" (a
    // Platform::FileError with the reason), "<Kind> image is not valid" (Bitmap, Icon, PNG, JPEG,
    // GIF, SVG), "Metafile is not valid", "The picture is too large (<width> × <height>)" or "The
    // picture file is too large".
    static Picture Load(const std::filesystem::path& file, std::string_view shownPath);

    // Load for a window that goes on answering while a metafile or SVG drawing is decoded:
    // loaded gets the picture, or an empty one and the text that Load would throw. Other kinds
    // and errors found before decoding are told before this returns, a drawing from the event
    // loop later, unless context is deleted first (vector_drawing.h).
    using Loaded = std::function<void(const Picture& picture, const std::string& error)>;
    static void LoadLater(const std::filesystem::path& file, std::string_view shownPath,
                          QObject* context, Loaded loaded);

    bool IsEmpty() const { return !m_drawing; }

    // Draws the picture filling the box. Areas that the picture leaves undrawn (an icon's or a
    // drawing's transparent parts) keep what was under them.
    void Draw(QPainter& painter, const QRectF& box) const;

private:
    std::shared_ptr<const Drawing> m_drawing;
};
