// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/windows.h"

#include "forms/common/handlers.h"
#include "forms/common/pictures.h"
#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/phonegroup.h"
#include "forms/editors/tia.h"
#include "forms/main_window/main.h"
#include "forms/run/configuration.h"
#include "forms/run/run_controller.h"
#include "forms/schematic/scheme.h"

#include <QApplication>
#include <QIcon>
#include <QtGlobal>

namespace
{

template <typename Window, typename... Arguments>
std::unique_ptr<Window> createWindow(Window*& instance, Arguments&&... arguments)
{
    auto window = std::make_unique<Window>(std::forward<Arguments>(arguments)...);
    instance = window.get();
    return window;
}

} // namespace

Windows::Windows(const VectorDrawing::Helper& pictureHelper)
{
    // The program's icon for a window without one of its own (the schematic window).
    QApplication::setWindowIcon(Pictures::Icon("program"));
    runSelection = RunSelection{};
    m_main = createWindow(o_fMain);
    // The dialogs belong to the main window (one task-bar entry); the schematic window stands
    // on its own, so that it stays usable beside the phone group dialog.
    // The editors share the main window's open dialog and tell it what they changed.
    OpenDialog& openDialog = o_fMain->OpenDialog1();
    m_tia = createWindow(o_fTia, openDialog, o_fMain);
    m_phoneGroup = createWindow(o_fPhoneGroup, openDialog, pictureHelper, o_fMain);
    m_scheme = createWindow(o_fScheme);
    m_boot = createWindow(o_fBoot, openDialog, o_fMain);
    m_flash = createWindow(o_fFlash, openDialog, o_fMain);
    m_configuration = createWindow(o_fConfiguration, o_fMain);
    for (CatalogueEditor* editor :
         std::initializer_list<CatalogueEditor*>{o_fTia, o_fPhoneGroup, o_fBoot, o_fFlash})
        o_fMain->FollowEditor(editor);
    // The run's questions are asked over the main window.
    m_run = std::make_unique<RunController>(*o_fConfiguration, o_fMain);
    o_fMain->FollowRun(*m_run);
}

Windows::~Windows()
{
    o_fConfiguration = nullptr;
    o_fFlash = nullptr;
    o_fBoot = nullptr;
    o_fScheme = nullptr;
    o_fPhoneGroup = nullptr;
    o_fTia = nullptr;
    o_fMain = nullptr;
}
