// SPDX-License-Identifier: GPL-2.0-or-later
#include "run_selection.h"

#include "library/paths.h"

namespace Selection
{

namespace
{

struct CommonChipChoice {
    std::string_view loaderFile;
    std::string_view loaderLine;
    std::string_view statusLine;
};

CommonChipChoice choiceFor(CommonChip chip)
{
    switch (chip) {
    case CommonChip::Atmel29F800:
        return {Paths::CommonAtmel29F800, "Common Atmel 29F800 type tia file selected",
                "Atmel W29lv800 type tia file selected"};
    case CommonChip::Intel28F008:
        return {Paths::CommonIntel28F008, "Common Intel 28F008 type tia file selected",
                "Intel iw28f008 type tia file selected"};
    case CommonChip::Intel28F160:
        break;
    }
    return {Paths::CommonIntel28F160, "Common Intel 28F160 type tia file selected",
            "Intel l28f160 type tia file selected"};
}

std::string concat(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (auto part : parts)
        text += part;
    return text;
}

} // namespace

std::string ApplyCommonChip(RunSelection& selection, CommonChip chip)
{
    const auto choice = choiceFor(chip);
    selection.LoaderFile = choice.loaderFile;
    selection.BootFile = Paths::CommonBoot;
    selection.LoaderLine = choice.loaderLine;
    selection.BootLine = "Common Boot file selected";
    return std::string(choice.statusLine);
}

std::string ApplyTiaRow(RunSelection& selection, std::string_view name, std::string_view type,
                        std::string_view description)
{
    selection.LoaderFile = Paths::EntryPath(Paths::TiaFolder, name);
    selection.LoaderLine = concat({name, " selected as f_loader"});
    return concat({"Tia file= ", name, "   [ Type=", type, " Description=", description, "]"});
}

std::string ApplyBootRow(RunSelection& selection, std::string_view name,
                         std::string_view description)
{
    selection.BootFile = Paths::EntryPath(Paths::BootFolder, name);
    selection.BootLine = concat({name, " selected as boot.bin"});
    return concat({"Boot file= ", name, "   [  Description=", description, "]"});
}

std::string ApplyFlashRow(RunSelection& selection, std::string_view group, std::string_view name,
                          std::string_view address, std::string_view description)
{
    selection.FlashFile = Paths::EntryPath(Paths::GroupFolder(group), name);
    selection.FlashLine = concat({name, " flash selected Address:", address});
    return concat(
        {"Flash file= ", name, "   [ Address=", address, " Description=", description, "]"});
}

} // namespace Selection
