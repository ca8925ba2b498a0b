// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/phonegroup.h"
#include "ui_phonegroup.h"

#include "forms/common/file_path.h"
#include "forms/common/handlers.h"
#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "forms/editors/file_entry_steps.h"
#include "forms/schematic/scheme.h"
#include "library/drive.h"
#include "library/library_files.h"
#include "library/paths.h"
#include "library/phone_groups.h"
#include "platform/pictures/picture.h"

To_fPhoneGroup* o_fPhoneGroup = nullptr;

namespace
{

const FileEntrySteps::BrowseTexts BrowseTexts{
    QStringLiteral("Select Graphic file"), QStringLiteral("bmp"),
    // The system's own kinds first, then those users have today.
    QStringLiteral("Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Metafiles (*.wmf;*.emf)|*.wmf;*.emf|"
                   "PNG, JPEG, GIF and SVG pictures (*.png;*.jpg;*.jpeg;*.gif;*.svg)|"
                   "*.png;*.jpg;*.jpeg;*.gif;*.svg"),
    QStringLiteral("Scheme file copied to the system specified directory"),
    QStringLiteral("Scheme file copy error.")};

} // namespace

To_fPhoneGroup::To_fPhoneGroup(OpenDialog& openDialog, VectorDrawing::Helper pictureHelper,
                               QWidget* parent)
    : CatalogueEditor(EditedList::PhoneGroups, openDialog, parent), m_ui(new Ui::To_fPhoneGroup),
      m_pictureHelper(std::move(pictureHelper))
{
    m_ui->setupUi(this);
    setUpEditor({QSize(341, 195), "phonegroup", m_ui->GroupBox1, m_ui->SpeedButton1, m_ui->BitBtn1,
                 m_ui->BitBtn2, m_ui->Edit2});
    connect(m_ui->Image1, &PictureBox::doubleClicked, this,
            Handlers::Guard(this, &To_fPhoneGroup::Image1DblClick));
}

To_fPhoneGroup::~To_fPhoneGroup() = default;

void To_fPhoneGroup::ShowPhoneGroupDialog(const std::optional<std::string>& groupInFront)
{
    m_ui->Edit1->clear();
    m_ui->Edit2->clear();
    m_ui->Edit3->clear();
    if (groupInFront) {
        const PhoneGroup group = PhoneGroups::Read(*groupInFront);
        Text::Show(m_ui->Edit1, group.name);
        Text::Show(m_ui->Edit3, group.config);
        Text::Show(m_ui->Edit2, group.scheme);
        showStoredSchematic();
    }
    Picture::PrepareForDrawings(m_pictureHelper);
    // Opened from the About page, the picture of the last use stays.
    exec();
}

void To_fPhoneGroup::showStoredSchematic()
{
    m_ui->Image1->setPicture(Picture());
    if (FileEntrySteps::IsBlank(m_ui->Edit2))
        return;
    // A schematic missing or refused leaves the picture empty and the dialog opens all the same,
    // so that the user can choose another.
    const std::string path = PhoneGroups::SchemePath(Text::Bytes(m_ui->Edit2));
    showPicture(Drive::NativePath(path), path);
}

void To_fPhoneGroup::showPicture(const std::filesystem::path& file, const std::string& shownPath,
                                 std::function<void()> whenShown)
{
    // Called from the event loop: guarded as a handler is.
    auto loaded = [this, whenShown](const Picture& picture, const Platform::FileError* error) {
        Handlers::Run([&] {
            if (error) {
                ShowUnexpectedError(*error);
                m_ui->Edit2->setFocus(Qt::OtherFocusReason);
                return;
            }
            m_ui->Image1->setPicture(picture);
            if (whenShown)
                whenShown();
        });
    };
    m_pictureRequest = Picture::Request(file, shownPath, std::move(loaded), m_pictureHelper);
}

void To_fPhoneGroup::hideEvent(QHideEvent* event)
{
    m_pictureRequest.reset();
    CatalogueEditor::hideEvent(event);
}

void To_fPhoneGroup::SpeedButton1Click()
{
    const auto picked = FileEntrySteps::PickFile(openDialog(), this, BrowseTexts, m_ui->Edit2);
    if (!picked)
        return;
    // Only a picture that loads is named and copied into the library: a refused one leaves the
    // field as it was, so that OK cannot store a schematic the library does not hold.
    showPicture(*picked, toBytes(FilePathText(*picked)), [this, file = *picked] {
        Text::Show(m_ui->Edit2, LibraryFiles::FileNameOf(file));
        FileEntrySteps::CopyPicked(file, BrowseTexts, Paths::PhonesFolder, m_ui->Edit2);
    });
}

void To_fPhoneGroup::Image1DblClick()
{
    o_fScheme->ShowPicture(m_ui->Image1->picture(), this, Text::Bytes(m_ui->Edit1));
}

void To_fPhoneGroup::BitBtn1Click()
{
    using FileEntrySteps::IsBlank, FileEntrySteps::NameCheck;
    const std::string name = Text::Bytes(m_ui->Edit1);
    const std::string scheme = Text::Bytes(m_ui->Edit2);
    // The group's name becomes its folder's name and the schematic's a file name in the phones
    // folder; a group may have no schematic.
    const bool passed = FileEntrySteps::PassChecks({
        {IsBlank(m_ui->Edit1), m_ui->Edit1, QStringLiteral("Enter Phone Group Name")},
        NameCheck(name, m_ui->Edit1),
        {IsBlank(m_ui->Edit3), m_ui->Edit3, QStringLiteral("Enter flash configuration entry ")},
        scheme.empty() ? FileEntrySteps::Check{} : NameCheck(scheme, m_ui->Edit2),
        scheme.empty() ? FileEntrySteps::Check{}
                       : FileEntrySteps::InLibraryCheck(Paths::PhonesFolder, scheme, m_ui->Edit2),
    });
    if (!passed)
        return;
    m_pictureRequest.reset(); // a picture browsed for the group written comes too late

    // Written as they stand in the boxes, blanks included.
    PhoneGroups::Write({name, Text::Bytes(m_ui->Edit3), scheme});
    finishWrite({m_ui->Edit1, m_ui->Edit2, m_ui->Edit3}, name,
                QStringLiteral("New Phone Group added successfully. Add new?"));
}
