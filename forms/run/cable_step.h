// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The step of a run between staging and DOSBox: DOSBox's COM ports checked against this
// machine's serial devices, the question asked while they do not reach the phone cable, and the
// device the user picks remembered (QSettings) and given to DOSBox in a configuration file of
// the program's own, read after the user's own file.

#include "library/flasher_launch.h"

#include <string>

class QWidget;

namespace CableStep
{

// Adds the program's configuration file to DOSBox's options when a port was picked, now or
// before. False when the user chose to start nothing. statusLine: the ports DOSBox will use.
bool BeforeDosBox(QWidget* questionParent, FlasherLaunch::Plan& plan, std::string& statusLine);

} // namespace CableStep
