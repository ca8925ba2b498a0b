// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A picture file as the schematic windows show it: bitmaps (bmp), icons (ico), Windows
// metafiles (wmf, emf), and PNG, JPEG, GIF and SVG pictures, the kind taken from the file name's
// extension in any letter case. Drawn stretched to any box, without keeping its proportions.
// Copies share the loaded, unchangeable picture, so they stay independent of each other.
// No file can hang or crash the program, nor keep its windows from answering: sizes are checked
// before anything is decoded, images are decoded away from the windows' thread, and metafiles
// and SVG drawings in a process of their own (vector_drawing.h).

#include "platform/file_problem.h"
#include "platform/pictures/vector_drawing.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

class Drawing;
class QPainter;
class QRectF;
class QSizeF;

// A picture being loaded. Destroying it drops its result and ends the work at once where it can
// (a helper process is killed; an image already being decoded finishes unseen).
class PictureRequest
{
public:
    virtual ~PictureRequest() = default;
};

class Picture
{
public:
    // An empty picture draws nothing.
    Picture();
    ~Picture();
    Picture(const Picture&);
    Picture& operator=(const Picture&);
    // A picture of a decoded drawing (drawing.h).
    explicit Picture(std::shared_ptr<const Drawing> drawing);

    // What a request tells once it is done, always from the event loop, never before Request
    // returns: the picture, or an empty one and the error, whose text is one of
    // "Unknown picture file extension (.<ext>)", "Cannot open file <shownPath>" (with the
    // system's reason), "<Kind> image is not valid" (Bitmap, Icon, PNG, JPEG, GIF, SVG),
    // "Metafile is not valid", "Metafile could not be decoded within <N> s" (or "SVG image ..."),
    // "The picture is too large (<width> × <height>)" or "The picture file is too large", and
    // whose problem names the file.
    using Loaded = std::function<void(const Picture& picture, const Platform::FileError* error)>;

    // The one way a picture file is loaded; shownPath names it in the error texts. Drawings are
    // decoded by the helper given.
    static std::unique_ptr<PictureRequest> Request(const std::filesystem::path& file,
                                                   std::string_view shownPath, Loaded loaded,
                                                   const VectorDrawing::Helper& helper = {});

    // Gets ready for the next drawing (a metafile or SVG), for a window that may soon ask for
    // one: a helper started ahead saves most of the wait.
    static void PrepareForDrawings(const VectorDrawing::Helper& helper = {});

    // A request waited for in a local event loop, for programs without windows: throws the
    // error.
    static Picture Load(const std::filesystem::path& file, std::string_view shownPath,
                        const VectorDrawing::Helper& helper = {});

    bool IsEmpty() const { return !m_drawing; }

    // Draws the picture filling the box. Areas that the picture leaves undrawn (an icon's or a
    // drawing's transparent parts) keep what was under them.
    void Draw(QPainter& painter, const QRectF& box) const;
    // Draws it for a printer: SVG drawings and metafiles with their shapes and texts.
    void Print(QPainter& painter, const QRectF& box) const;
    // Its own size in pixels (empty for an empty picture), for its proportions.
    QSizeF Size() const;

private:
    std::shared_ptr<const Drawing> m_drawing;
};
