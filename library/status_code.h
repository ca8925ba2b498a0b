// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the user knows about a catalogued file. The number is stored under STATUS, and is also
// the picker position and the picture index of the file's row in the lists.

enum class StatusCode : int {
    Working = 0,
    NotWorking = 1,
    NotTested = 2,
};
