// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/stop_question.h"

#include "forms/common/message_boxes.h"

namespace StopQuestion
{

QString Text()
{
    return QStringLiteral("Stop the flasher now? Stopping a flash before it has ended may leave "
                          "the phone unusable until it is flashed again.");
}

bool Ask()
{
    return AskConfirmation(Text(), QMessageBox::No) == QMessageBox::Yes;
}

} // namespace StopQuestion
