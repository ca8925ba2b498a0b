#include "windows.h"

#include "boot.h"
#include "configuration.h"
#include "flash.h"
#include "main.h"
#include "phonegroup.h"
#include "scheme.h"
#include "tia.h"

#include <QtGlobal>

// Pictures compiled into the forms library must be registered before the first window.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace
{

template <typename Window> std::unique_ptr<Window> create(Window*& instance)
{
    auto window = std::make_unique<Window>();
    instance = window.get();
    return window;
}

} // namespace

Windows::Windows()
{
    initResources();
    runSelection = RunSelection{};
    m_main = create(o_fMain);
    m_tia = create(o_fTia);
    m_phoneGroup = create(o_fPhoneGroup);
    m_scheme = create(o_fScheme);
    m_boot = create(o_fBoot);
    m_flash = create(o_fFlash);
    m_configuration = create(o_fConfiguration);
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
