// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The seven windows of the program, created once, in a fixed order, and kept until exit, and the
// run controller that the main window hands each Start to.

#include "platform/pictures/vector_drawing.h"

#include <memory>

class To_fMain;
class To_fTia;
class To_fPhoneGroup;
class To_fScheme;
class To_fBoot;
class To_fFlash;
class To_fConfiguration;
class RunController;

class Windows
{
public:
    // Creates the windows (the main window first, which loads the lists) and sets the o_f*
    // instances. The run selection starts empty. Schematics that are drawings are decoded by
    // pictureHelper.
    explicit Windows(const VectorDrawing::Helper& pictureHelper = {});
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // For tests: the run controller.
    RunController& run() const { return *m_run; }

private:
    std::unique_ptr<To_fMain> m_main;
    std::unique_ptr<To_fTia> m_tia;
    std::unique_ptr<To_fPhoneGroup> m_phoneGroup;
    std::unique_ptr<To_fScheme> m_scheme;
    std::unique_ptr<To_fBoot> m_boot;
    std::unique_ptr<To_fFlash> m_flash;
    std::unique_ptr<To_fConfiguration> m_configuration;
    std::unique_ptr<RunController> m_run;
};
