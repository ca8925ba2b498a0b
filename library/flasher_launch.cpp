// SPDX-License-Identifier: GPL-2.0-or-later
#include "flasher_launch.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/process.h"
#include "platform/programs.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace FlasherLaunch
{

namespace
{

// Drive C's folder for DOSBox's mount command. One that ends in a backslash, as the drive root
// c:\ does, gets a "." added: DOSBox's command-line parser on Windows reads a backslash before
// the closing quote as an escaped quote.
std::string mountFolder()
{
    std::string folder = Drive::Root().string();
    if (!folder.empty() && folder.back() == '\\')
        folder += '.';
    return folder;
}

} // namespace

Plan PlanStart()
{
    const fs::path flasher = Drive::NativePath(Paths::Flasher);
    std::error_code error;
    if (!fs::is_regular_file(flasher, error))
        return {{}, "the file is missing"};
    if (Platform::IsNativeProgram(flasher)) {
        if (!Platform::MayRun(flasher))
            return {{}, "it is not marked as runnable"};
        return {{flasher.string()}, {}, Way::Directly};
    }
    // Neither Linux nor 64-bit Windows runs DOS programs.
    const fs::path dosbox = Platform::FindDosBox();
    if (dosbox.empty())
        return {{}, "it is a DOS program, and DOSBox, which runs it, is not installed"};
    return {{dosbox.string(), "-c", "mount c \"" + mountFolder() + "\"", "-c", "c:", "-c",
             std::string(Paths::Flasher), "-c", "exit"},
            {},
            Way::InDosBox};
}

void AddDosBoxOptions(Plan& plan, const std::vector<std::string>& options)
{
    if (plan.way == Way::InDosBox)
        plan.arguments.insert(plan.arguments.begin() + 1, options.begin(), options.end());
}

std::optional<Started> Start(const Plan& plan, std::string& failure)
{
    if (plan.arguments.empty()) {
        failure = plan.failure;
        return std::nullopt;
    }
    auto program = Platform::StartDetached(plan.arguments, failure);
    if (!program)
        return std::nullopt;
    return Started{plan.way, std::move(program)};
}

std::optional<std::string> EarlyEndMessage(Way way, const Platform::ProgramEnd& end)
{
    if (!end.failed())
        return std::nullopt;
    const std::string flasher = "the flasher " + std::string(Paths::Flasher);
    const std::string who =
        way == Way::InDosBox ? "DOSBox, which runs " + flasher + "," : "T" + flasher.substr(1);
    if (end.bySignal)
        return who + " was ended at once by signal " + std::to_string(end.code) + ".";
    return who + " ended at once with exit code " + std::to_string(end.code) + ".";
}

} // namespace FlasherLaunch
