// SPDX-License-Identifier: GPL-2.0-or-later
// DOSBox's COM ports read from its configuration texts, the decision before a DOS flasher
// starts, and this machine's serial devices listed from a folder standing in for /dev.

#include "library/cable_check.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <map>

namespace fs = std::filesystem;
using DosBoxSerial::PortMapping;

TEST(DosBoxSerial, PortsMappedAsDosBoxReadsItsFilesInOrder)
{
    const std::string cable = "[serial]\nserial1=directserial realport:ttyUSB0\n";
    const struct {
        std::vector<std::string> texts;
        std::vector<PortMapping> mapped;
    } rows[] = {
        {{"[serial]\nserial1=dummy\nserial2=dummy\n"}, {}},
        {{cable}, {{1, "ttyUSB0"}}},
        {{"[SERIAL]\r\n  Serial3 = DirectSerial rxdelay:5 realport:pts/2\r\n"}, {{3, "pts/2"}}},
        {{"[serial]\n#serial1=directserial realport:a\nserial2=directserial\n"}, {}},
        {{"[dos]\nserial1=directserial realport:a\n[serial]\nserial5=directserial realport:a"}, {}},
        {{cable + "[serial]\nserial1=nullmodem\n"}, {}}, // the later line wins, in one file too
        {{"[serial]\nserial1=dummy\n", cable}, {{1, "ttyUSB0"}}},
        {{cable, DosBoxSerial::OwnLayerText({2, "ttyS0"})}, {{1, "ttyUSB0"}, {2, "ttyS0"}}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DosBoxSerial::MappedPorts(row.texts), row.mapped) << row.texts.front();
    EXPECT_EQ(DosBoxSerial::LayerOptions("/u.conf", "/o.conf"),
              (std::vector<std::string>{"-conf", "/u.conf", "-conf", "/o.conf"}));
    EXPECT_EQ(DosBoxSerial::LayerOptions({}, "/o.conf"),
              (std::vector<std::string>{"-userconf", "-conf", "/o.conf"}));
}

TEST(CableCheck, FirstPortInTroubleDecidesTheQuestion)
{
    using enum CableCheck::Trouble;
    using Access = Platform::DeviceAccess;
    const std::map<std::string, Access> access{
        {"usb", Access::Usable}, {"gone", Access::Missing}, {"locked", Access::Denied}};
    const auto accessOf = [&](const std::string& device) { return access.at(device); };
    const struct {
        std::vector<PortMapping> mapped;
        CableCheck::Finding finding;
        bool offersPick;
    } rows[] = {
        {{}, {NoPort, {1, ""}}, true},
        {{{1, "usb"}}, {None, {}}, false},
        {{{1, "gone"}}, {Missing, {1, "gone"}}, true},
        {{{2, "locked"}}, {NoAccess, {2, "locked"}}, false},
        {{{1, "usb"}, {3, "gone"}, {4, "locked"}}, {Missing, {3, "gone"}}, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CableCheck::Check(row.mapped, accessOf), row.finding);
        EXPECT_EQ(CableCheck::OffersPick(row.finding.trouble), row.offersPick);
    }
}

#ifndef _WIN32 // symbolic links, and a folder for /dev
TEST(SerialDevices, AdaptersByMakerFirstThenByKindAndNumber)
{
    TemporaryDrive drive;
    for (const char* name : {"ttyS1", "ttyS0", "ttyACM0", "ttyUSB10", "ttyUSB2", "ttyUSB0", "tty0"})
        drive.write(std::string("c:\\dev\\") + name, "");
    drive.write("c:\\sys\\class\\tty\\ttyS0\\type", "4\n"); // a UART
    drive.write("c:\\sys\\class\\tty\\ttyS1\\type", "0\n"); // none
    fs::create_directories(drive.root() / "dev/serial/by-id");
    fs::create_symlink("../../ttyUSB2", drive.root() / "dev/serial/by-id/usb-Maker_Model_42");
    Platform::SetDeviceFolder(drive.root() / "dev");
    const auto devices = Platform::ListSerialDevices();
    Platform::SetDeviceFolder({});
    std::vector<std::string> labels;
    for (const auto& device : devices)
        labels.push_back(device.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"usb-Maker_Model_42 (ttyUSB2)", "ttyUSB0",
                                                "ttyUSB10", "ttyACM0", "ttyS0"}));
    EXPECT_EQ(Platform::CheckSerialDevice(devices.at(0).realport), Platform::DeviceAccess::Usable);
    EXPECT_EQ(Platform::CheckSerialDevice("ttyQV9"), Platform::DeviceAccess::Missing);
}
#endif
