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
        return {{flasher.string()}, {}};
    }
    // Neither Linux nor 64-bit Windows runs DOS programs.
    const fs::path dosbox = Platform::FindDosBox();
    if (dosbox.empty())
        return {{}, "it is a DOS program, and DOSBox, which runs it, is not installed"};
    return {{dosbox.string(), "-c", "mount c \"" + mountFolder() + "\"", "-c", "c:", "-c",
             std::string(Paths::Flasher), "-c", "exit"},
            {},
            true};
}

void AddDosBoxOptions(Plan& plan, const std::vector<std::string>& options)
{
    if (plan.inDosBox)
        plan.arguments.insert(plan.arguments.begin() + 1, options.begin(), options.end());
}

std::optional<std::string> Start()
{
    return Start(PlanStart());
}

std::optional<std::string> Start(const Plan& plan)
{
    if (plan.arguments.empty())
        return plan.failure;
    std::string error;
    if (!Platform::StartDetached(plan.arguments, error))
        return error;
    return std::nullopt;
}

} // namespace FlasherLaunch
