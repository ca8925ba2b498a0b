// Pictures by extension: each kind loads and draws its drawing stretched over any box, and the
// errors a user can meet.

#include "platform/picture.h"
#include "temporary_drive.h"
#include "test_pictures.h"

#include <QPainter>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace TestPictures;

namespace
{

class PictureTest : public testing::Test
{
protected:
    // A file in the test's own folder, written when bytes are given.
    fs::path file(const std::string& name, std::string_view bytes = {}) const
    {
        if (!bytes.empty())
            drive.write("c:\\" + name, bytes);
        return folder / name;
    }

    // The error text of loading the file, or empty when it loads.
    static std::string errorOf(const fs::path& path, std::string_view shown = "shown")
    {
        try {
            Picture::Load(path, shown);
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return {};
    }

    TemporaryDrive drive;
    const fs::path folder = drive.root();
};

QImage drawn(const Picture& picture, const QRect& box)
{
    QImage image(box.right() + 11, box.bottom() + 11, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    picture.Draw(painter, box);
    return image;
}

} // namespace

TEST_F(PictureTest, EachKindDrawsItsDrawingStretchedOverTheBox)
{
    const struct {
        const char* extension;
        const char* name; // the kind follows the extension in any letter case
    } kinds[] = {{"bmp", "s.bmp"}, {"ico", "s.ICO"}, {"wmf", "s.Wmf"}, {"emf", "s.emf"}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const fs::path path = file(kind.name);
        fs::copy_file(Sample(kind.extension), path);
        const Picture picture = Picture::Load(path, "shown");
        ASSERT_FALSE(picture.IsEmpty());
        // Wider and taller than the drawing: both directions stretch independently.
        for (const QRect box : {QRect(5, 7, 400, 50), QRect(3, 2, 60, 240)}) {
            const QImage image = drawn(picture, box);
            EXPECT_TRUE(Near(ColourAt(image, box, 40, 30), White));
            EXPECT_TRUE(Near(ColourAt(image, box, 110, 20), Blue));
            EXPECT_TRUE(Near(ColourAt(image, box, 190, 50), Blue));
            EXPECT_TRUE(Near(ColourAt(image, box, 150, 75), Green));
            EXPECT_EQ(image.pixelColor(box.left() - 2, box.top() + 5), QColor(Qt::magenta));
            EXPECT_EQ(image.pixelColor(box.right() + 3, box.bottom() + 3), QColor(Qt::magenta));
        }
    }
}

TEST_F(PictureTest, ErrorsNameTheExtensionOrTheFile)
{
    fs::copy_file(Sample("bmp"), folder / "real.bmp");
    fs::create_directories(folder / "folder.bmp");
    EXPECT_EQ(errorOf(file("s.png", "x")), "Unknown picture file extension (.png)");
    EXPECT_EQ(errorOf(file("s.Jpeg")), "Unknown picture file extension (.Jpeg)");
    EXPECT_EQ(errorOf(file("noextension", "x")), "Unknown picture file extension (.)");
    EXPECT_EQ(errorOf(file("missing.png")), "Unknown picture file extension (.png)");
    EXPECT_EQ(errorOf(file("missing.bmp"), "c:\\nk_files\\Lunzo\\Phones\\missing.bmp"),
              "Cannot open file c:\\nk_files\\Lunzo\\Phones\\missing.bmp");
    EXPECT_EQ(errorOf(folder / "folder.bmp"), "Cannot open file shown");
    EXPECT_EQ(errorOf(file("text.bmp", "not a bitmap")), "Bitmap image is not valid");
    // A picture of another kind under a bitmap's name is not taken for one.
    fs::copy_file(folder / "real.bmp", folder / "real.ico");
    EXPECT_EQ(errorOf(folder / "real.ico"), "Icon image is not valid");
    EXPECT_EQ(errorOf(file("text.emf", "not a metafile")), "Metafile is not valid");
    EXPECT_EQ(errorOf(file("text.wmf", "not a metafile")), "Metafile is not valid");
    EXPECT_EQ(errorOf(folder / "real.bmp"), "");
}
