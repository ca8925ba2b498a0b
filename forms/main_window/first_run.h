// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The notice at start for a drive C that lacks what a run needs (a first run, as a rule): it
// names the folder that stands for drive C, lists what is missing, and offers to create the
// library's folders and to open the folder in the file manager.

namespace FirstRun
{

// Shows the notice when something is missing; nothing otherwise.
void ShowNoticeIfNeeded();

} // namespace FirstRun
