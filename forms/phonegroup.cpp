#include "phonegroup.h"
#include "pictures.h"
#include "ui_phonegroup.h"

#include "file_entry_steps.h"
#include "file_path.h"
#include "handlers.h"
#include "library/drive.h"
#include "library/entry_names.h"
#include "library/library_files.h"
#include "library/paths.h"
#include "library/phone_groups.h"
#include "main.h"
#include "platform/picture.h"
#include "scheme.h"
#include "text.h"
#include "window_setup.h"

To_fPhoneGroup* o_fPhoneGroup = nullptr;

namespace
{

const FileEntrySteps::BrowseTexts BrowseTexts{
    QStringLiteral("Select Graphic file"), QStringLiteral("bmp"),
    QStringLiteral("Bitmaps (*.bmp)|*.bmp"),
    QStringLiteral("Scheme file copied to the system specified directory"),
    QStringLiteral("Scheme file copy error.")};

} // namespace

To_fPhoneGroup::To_fPhoneGroup(QWidget* parent) : QDialog(parent), m_ui(new Ui::To_fPhoneGroup)
{
    m_ui->setupUi(this);
    WindowSetup::MakeFixedDialog(this, QSize(341, 195));
    WindowSetup::StyleFileDialog(this, m_ui->GroupBox1);
    setWindowIcon(Pictures::Icon("phonegroup"));
    m_ui->SpeedButton1->setIcon(Pictures::Icon("browse"));
    WindowSetup::SetButtonGlyphs(m_ui->BitBtn1, m_ui->BitBtn2);

    using Handlers::Guard;
    connect(m_ui->SpeedButton1, &QToolButton::clicked, this,
            Guard(this, &To_fPhoneGroup::SpeedButton1Click));
    connect(m_ui->Image1, &PictureBox::doubleClicked, this,
            Guard(this, &To_fPhoneGroup::Image1DblClick));
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, Guard(this, &To_fPhoneGroup::BitBtn1Click));
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, Guard(this, &To_fPhoneGroup::BitBtn2Click));
}

To_fPhoneGroup::~To_fPhoneGroup() = default;

void To_fPhoneGroup::ShowPhoneGroupDialog()
{
    m_ui->Edit1->clear();
    m_ui->Edit2->clear();
    m_ui->Edit3->clear();
    if (o_fMain->GroupPageInFront()) {
        const PhoneGroup group = PhoneGroups::Read(o_fMain->ActivePageCaption());
        Text::Show(m_ui->Edit1, group.name);
        Text::Show(m_ui->Edit3, group.config);
        Text::Show(m_ui->Edit2, group.scheme);
    }
    // Without a stored schematic the picture of the last use stays.
    if (!FileEntrySteps::IsBlank(m_ui->Edit2)) {
        const std::string path = PhoneGroups::SchemePath(Text::Bytes(m_ui->Edit2));
        m_ui->Image1->setPicture(Picture::Load(Drive::NativePath(path), path));
    }
    exec();
}

void To_fPhoneGroup::SpeedButton1Click()
{
    const auto picked = FileEntrySteps::PickFile(this, BrowseTexts);
    if (!picked)
        return;
    Text::Show(m_ui->Edit2, LibraryFiles::FileNameOf(*picked));
    m_ui->Image1->setPicture(Picture::Load(*picked, toBytes(FilePathText(*picked))));
    FileEntrySteps::CopyPicked(*picked, BrowseTexts, Paths::PhonesFolder);
}

void To_fPhoneGroup::Image1DblClick()
{
    o_fScheme->ShowPicture(m_ui->Image1->picture(), this);
}

void To_fPhoneGroup::BitBtn1Click()
{
    const std::string name = Text::Bytes(m_ui->Edit1);
    const bool passed = FileEntrySteps::PassChecks({
        {FileEntrySteps::IsBlank(m_ui->Edit1), m_ui->Edit1,
         QStringLiteral("Enter Phone Group Name")},
        // The name becomes the group's folder name.
        {!EntryNames::IsSafe(name), m_ui->Edit1, fromBytes(UnsafeName(name).what())},
        {FileEntrySteps::IsBlank(m_ui->Edit3), m_ui->Edit3,
         QStringLiteral("Enter flash configuration entry ")},
    });
    if (!passed)
        return;

    // Written as they stand in the boxes, blanks included.
    PhoneGroups::Write({name, Text::Bytes(m_ui->Edit3), Text::Bytes(m_ui->Edit2)});

    m_ui->Edit1->clear();
    m_ui->Edit2->clear();
    m_ui->Edit3->clear();
    o_fMain->LoadPhoneGroups();
    FileEntrySteps::AskToAddAnother(this,
                                    QStringLiteral("New Phone Group added successfully. Add new?"));
}

void To_fPhoneGroup::BitBtn2Click()
{
    reject();
}
