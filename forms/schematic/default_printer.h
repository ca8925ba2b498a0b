// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where a print job goes: the system's default printer, chosen without a print dialog. Tests
// send the job to a PDF file instead.

#include <QPrinter>
#include <functional>
#include <memory>

namespace DefaultPrinter
{

// The default printer, ready for a job. Throws std::runtime_error "There is no default printer
// currently selected" when there is none.
std::unique_ptr<QPrinter> Open();

// For tests: printers come from this function instead (nullptr: the system's again). A function
// that gives no printer stands for a system without a default printer.
using Source = std::function<std::unique_ptr<QPrinter>()>;
void SetSource(Source source);

} // namespace DefaultPrinter
