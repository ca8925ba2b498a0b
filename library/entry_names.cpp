#include "entry_names.h"

#include <string>

namespace EntryNames
{

bool IsSafe(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string_view::npos;
}

} // namespace EntryNames

UnsafeName::UnsafeName(std::string_view name)
    : std::runtime_error("\"" + std::string(name) + "\" cannot be used as a file or folder name")
{
}
