// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/handlers.h"

#include "forms/common/message_boxes.h"

#include <exception>

namespace Handlers
{

void ShowCurrentException() noexcept
{
    try {
        throw;
    } catch (const std::exception& error) {
        ShowUnexpectedError(error);
    } catch (...) {
        ShowUnexpectedError(QStringLiteral("Unexpected error"));
    }
}

} // namespace Handlers
