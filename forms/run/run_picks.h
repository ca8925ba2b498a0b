// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the run's windows (Run history, Pick again) may ask of the window whose lists make a run's
// choices: which phone groups and rows it offers, and to pick some of them as the user's clicks
// would. The main window implements it; the run's windows know no more of it than this.

#include "library/run_selection.h"

#include <optional>
#include <string>
#include <vector>

class RunPicks
{
public:
    // The lists a run's files are picked from.
    enum class List { Tia, Boot, Flash };

    // A run's choices, made in this order: the common chip type (its loader and the common boot
    // file; its page comes to the front when no TIA row follows), the TIA row, the boot row, the
    // group's page, the row of its flash list. A row is its place in RowNames.
    struct Picks {
        std::optional<CommonChip> chip = {};
        std::optional<int> tiaRow = {};
        std::optional<int> bootRow = {};
        std::string group = {};
        std::optional<int> flashRow = {};
    };

    // Whether the phone group has a page.
    virtual bool HasGroup(const std::string& group) const = 0;

    // The names of the list's rows in their order, rows the find field hides among them. A flash
    // list is the group's (read now if its page was never in front); none for a group without a
    // page.
    virtual std::vector<std::string> RowNames(List list, const std::string& group = {}) = 0;

    // Makes the choices, each as the user's click would: a row is selected anew, so that its
    // choice is made even when it was the selected row while another list's choice was made.
    virtual void Select(const Picks& picks) = 0;

protected:
    ~RunPicks() = default;
};
