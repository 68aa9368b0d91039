#include "platform/system_information.h"

#include <gtest/gtest.h>

TEST(SystemInformation, DescribesTheSystemOnOneLineEach) {
    const platform::SystemInformation info;
    const std::string os = info.OperatingSystemDescription();
    EXPECT_EQ(os.rfind("Windows", 0), 0u) << os;
    EXPECT_NE(os.find(std::to_string(info.BuildNumber())), std::string::npos) << os;
    EXPECT_EQ(os.find('\n'), std::string::npos);
    const bool onWine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    EXPECT_EQ(os.find(" on Wine ") != std::string::npos, onWine) << os;
    const std::string machine = info.MachineDescription();
    EXPECT_NE(machine.find(std::to_string(info.ProcessorCount()) + " processor"), std::string::npos)
        << machine;
    EXPECT_NE(machine.find(" MB memory"), std::string::npos) << machine;
}
