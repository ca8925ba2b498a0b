// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/schematic/default_printer.h"

#include <QPrinterInfo>
#include <stdexcept>

namespace DefaultPrinter
{

namespace
{

Source& sourceStorage()
{
    static Source source;
    return source;
}

std::unique_ptr<QPrinter> SystemDefault()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
}

} // namespace

std::unique_ptr<QPrinter> Open()
{
    const Source& source = sourceStorage();
    auto printer = source ? source() : SystemDefault();
    if (!printer)
        throw std::runtime_error("There is no default printer currently selected");
    return printer;
}

void SetSource(Source source)
{
    sourceStorage() = std::move(source);
}

} // namespace DefaultPrinter
