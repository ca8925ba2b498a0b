// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The question before a running flasher is stopped: No is the default, and the text says what a
// stop in the middle of a flash can do to the phone.

#include <QString>

namespace StopQuestion
{

QString Text();

// True when the user answered Yes.
bool Ask();

} // namespace StopQuestion
