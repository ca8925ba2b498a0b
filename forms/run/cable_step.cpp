// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/cable_step.h"

#include "forms/common/file_path.h"
#include "forms/common/message_boxes.h"
#include "forms/common/settings_store.h"
#include "forms/run/cable_question.h"
#include "library/cable_check.h"
#include "platform/files.h"

#include <QDir>
#include <QSettings>
#include <optional>

namespace fs = std::filesystem;
using DosBoxSerial::PortMapping;

namespace CableStep
{

namespace
{

const QString PortKey = QStringLiteral("cable/port");
const QString DeviceKey = QStringLiteral("cable/device");

std::optional<PortMapping> rememberedPort()
{
    const auto settings = SettingsStore::Open();
    const int port = settings->value(PortKey).toInt();
    const std::string device = settings->value(DeviceKey).toByteArray().toStdString();
    if (port < 1 || port > DosBoxSerial::PortCount || !DosBoxSerial::CanName(device))
        return std::nullopt;
    return PortMapping{port, device};
}

void rememberPort(const PortMapping& mapping)
{
    const auto settings = SettingsStore::Open();
    settings->setValue(PortKey, mapping.port);
    settings->setValue(DeviceKey, QByteArray::fromStdString(mapping.device));
}

fs::path ownLayerFile()
{
    // Beside the settings store.
    return FilePath(QDir(SettingsStore::Folder()).filePath(QStringLiteral("dosbox-serial.conf")));
}

} // namespace

bool BeforeDosBox(QWidget* questionParent, FlasherLaunch::Plan& plan, std::string& statusLine)
{
    const fs::path usersFile = DosBoxSerial::UsersConfigFile(plan.arguments.front());
    std::optional<PortMapping> own = rememberedPort();
    std::vector<PortMapping> mappings;
    for (;;) {
        mappings = DosBoxSerial::MappedPorts(
            {// A users' file that cannot be read maps no port: the check then asks.
             Platform::ReadFileBytes(usersFile).bytes.value_or(""),
             own ? DosBoxSerial::OwnLayerText(*own) : ""});
        const CableCheck::Finding finding =
            CableCheck::Check(mappings, Platform::CheckSerialDevice);
        if (finding.trouble == CableCheck::Trouble::None)
            break;
        const CableQuestion::Answer answer = CableQuestion::Ask(questionParent, finding);
        if (answer.choice == CableQuestion::Choice::Cancel)
            return false;
        if (answer.choice == CableQuestion::Choice::GoOn)
            break;
        if (answer.choice == CableQuestion::Choice::Use) {
            own = answer.mapping;
            rememberPort(*own);
        }
    }
    if (own) {
        const fs::path layer = ownLayerFile();
        Platform::CreateFolderPath(layer.parent_path());
        if (!Platform::ReplaceFileContents(layer, DosBoxSerial::OwnLayerText(*own))) {
            ShowNotice(nullptr, "The COM port picked for DOSBox could not be saved in " +
                                    FilePathText(layer) + ". The flasher was not started.");
            return false;
        }
        FlasherLaunch::AddDosBoxOptions(plan, DosBoxSerial::LayerOptions(usersFile, layer));
    }
    statusLine = CableCheck::StatusLine(mappings, Platform::CheckSerialDevice);
    return true;
}

} // namespace CableStep
