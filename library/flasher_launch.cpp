#include "flasher_launch.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/process.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace FlasherLaunch
{

namespace
{

// An ELF program or a script with a "#!" line, as opposed to a DOS program.
bool isNativeProgram(const fs::path& path)
{
    char magic[4] = {};
    std::ifstream(path, std::ios::binary).read(magic, sizeof magic);
    constexpr std::string_view elfMagic = "\177ELF";
    return std::string_view(magic, 2) == "#!" || std::string_view(magic, 4) == elfMagic;
}

bool isRunnable(const fs::path& path)
{
    constexpr auto runBits = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    std::error_code error;
    return (fs::status(path, error).permissions() & runBits) != fs::perms::none;
}

} // namespace

Plan PlanStart()
{
    const fs::path flasher = Drive::NativePath(Paths::Flasher);
    std::error_code error;
    if (!fs::is_regular_file(flasher, error))
        return {{}, "the file is missing"};
#ifdef _WIN32
    return {{flasher.string()}, {}};
#else
    if (isNativeProgram(flasher)) {
        if (!isRunnable(flasher))
            return {{}, "it is not marked as runnable"};
        return {{flasher.string()}, {}};
    }
    const fs::path dosbox = Platform::FindProgram("dosbox");
    if (dosbox.empty())
        return {{}, "it is a DOS program, and DOSBox, which runs it, is not installed"};
    return {{dosbox.string(), "-c", "mount c \"" + Drive::Root().string() + "\"", "-c", "c:", "-c",
             std::string(Paths::Flasher), "-c", "exit"},
            {}};
#endif
}

std::optional<std::string> Start()
{
    Plan plan = PlanStart();
    if (plan.arguments.empty())
        return plan.failure;
    std::string error;
    if (!Platform::StartDetached(plan.arguments, error))
        return error;
    return std::nullopt;
}

} // namespace FlasherLaunch
