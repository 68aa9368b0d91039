#pragma once
// Descriptions of the operating system and the machine, as one line of 8-bit text each, for
// reports and logs.

#include <windows.h>

#include <string>

namespace platform {

class SystemInformation {
public:
    // Reads the facts once; the texts are built from them.
    SystemInformation();

    // E.g. "Windows 10 (10.0.19045) x64" or "Windows 7 (6.1.7601 Service Pack 1) x86",
    // with " on Wine 9.0" when the system is Wine.
    std::string OperatingSystemDescription() const;
    // E.g. "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz, 8 processors, 16384 MB memory".
    std::string MachineDescription() const;

    DWORD MajorVersion() const { return version_.dwMajorVersion; }
    DWORD MinorVersion() const { return version_.dwMinorVersion; }
    DWORD BuildNumber() const { return version_.dwBuildNumber; }
    DWORD ProcessorCount() const { return processors_; }

private:
    OSVERSIONINFOEXW version_ = {};
    std::string architecture_;
    std::string processorName_;
    std::string wineVersion_;
    DWORD processors_ = 0;
    unsigned long long memoryMegabytes_ = 0;
};

} // namespace platform
