// SPDX-License-Identifier: GPL-2.0-or-later
#include "cable_step.h"

#include "cable_question.h"
#include "library/cable_check.h"
#include "message_boxes.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <memory>
#include <optional>

namespace fs = std::filesystem;
using DosBoxSerial::PortMapping;

namespace CableStep
{

namespace
{

const QString PortKey = QStringLiteral("cable/port");
const QString DeviceKey = QStringLiteral("cable/device");

// The user's settings of the program, in an INI file on every system, beside which the
// program's DOSBox configuration file lies. (Tests move them with QSettings::setPath.)
std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Quorvel"), QStringLiteral("Quorvel"));
}

std::optional<PortMapping> rememberedPort()
{
    const auto settings = userSettings();
    const int port = settings->value(PortKey).toInt();
    const std::string device = settings->value(DeviceKey).toByteArray().toStdString();
    if (port < 1 || port > DosBoxSerial::PortCount || !DosBoxSerial::CanName(device))
        return std::nullopt;
    return PortMapping{port, device};
}

void rememberPort(const PortMapping& mapping)
{
    const auto settings = userSettings();
    settings->setValue(PortKey, mapping.port);
    settings->setValue(DeviceKey, QByteArray::fromStdString(mapping.device));
}

fs::path ownLayerFile()
{
    return fs::path(
        QFileInfo(userSettings()->fileName()).dir().filePath("dosbox-serial.conf").toStdString());
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
                                    QString::fromStdString(layer.string()) +
                                    ". The flasher was not started.");
            return false;
        }
        FlasherLaunch::AddDosBoxOptions(plan, DosBoxSerial::LayerOptions(usersFile, layer));
    }
    statusLine = CableCheck::StatusLine(mappings, Platform::CheckSerialDevice);
    return true;
}

} // namespace CableStep
