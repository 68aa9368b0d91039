#include "platform/system_information.h"

#include "platform/text.h"
#include "platform/unique_resource.h"

namespace platform {
namespace {

template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
    const HMODULE handle = ::GetModuleHandleW(module);
    if (!handle)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

// The version as the kernel has it: GetVersionEx is capped by the manifest's compatibility list.
OSVERSIONINFOEXW ReadVersion() {
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    if (auto get = SystemFunction<RtlGetVersion>(L"ntdll.dll", "RtlGetVersion"))
        get(&version);
    return version;
}

std::string ArchitectureName(WORD architecture) {
    switch (architecture) {
    case PROCESSOR_ARCHITECTURE_AMD64:
        return "x64";
    case PROCESSOR_ARCHITECTURE_INTEL:
        return "x86";
    case PROCESSOR_ARCHITECTURE_ARM64:
        return "ARM64";
    default:
        return "unknown architecture";
    }
}

std::string ReadProcessorName() {
    UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                        0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::string();
    wchar_t name[256] = {};
    DWORD size = sizeof(name) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), L"ProcessorNameString", nullptr, &type,
                           reinterpret_cast<BYTE*>(name), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    std::wstring text(name);
    const auto first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::string() : AnsiFromWide(text.substr(first));
}

// The Windows name of a kernel version, as the product is known.
std::string ProductName(const OSVERSIONINFOEXW& v) {
    const bool server = v.wProductType != VER_NT_WORKSTATION && v.wProductType != 0;
    if (v.dwMajorVersion == 10)
        return server ? "Windows Server" : (v.dwBuildNumber >= 22000 ? "Windows 11" : "Windows 10");
    if (v.dwMajorVersion == 6) {
        switch (v.dwMinorVersion) {
        case 0:
            return server ? "Windows Server 2008" : "Windows Vista";
        case 1:
            return server ? "Windows Server 2008 R2" : "Windows 7";
        case 2:
            return server ? "Windows Server 2012" : "Windows 8";
        case 3:
            return server ? "Windows Server 2012 R2" : "Windows 8.1";
        default:
            break;
        }
    }
    if (v.dwMajorVersion == 5)
        return v.dwMinorVersion == 0 ? "Windows 2000" : "Windows XP";
    return "Windows";
}

} // namespace

SystemInformation::SystemInformation() : version_(ReadVersion()) {
    SYSTEM_INFO system = {};
    ::GetNativeSystemInfo(&system);
    architecture_ = ArchitectureName(system.wProcessorArchitecture);
    processors_ = system.dwNumberOfProcessors;
    processorName_ = ReadProcessorName();
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof(memory);
    if (::GlobalMemoryStatusEx(&memory))
        memoryMegabytes_ = memory.ullTotalPhys / (1024 * 1024);
    using WineGetVersion = const char*(__cdecl*)();
    if (auto wine = SystemFunction<WineGetVersion>(L"ntdll.dll", "wine_get_version"))
        wineVersion_ = wine();
}

std::string SystemInformation::OperatingSystemDescription() const {
    std::string text =
        FormatAnsi("%s (%lu.%lu.%lu", ProductName(version_).c_str(), version_.dwMajorVersion,
                   version_.dwMinorVersion, version_.dwBuildNumber);
    if (version_.szCSDVersion[0]) {
        text.push_back(' ');
        text.append(AnsiFromWide(version_.szCSDVersion));
    }
    text.append(") ").append(architecture_);
    if (!wineVersion_.empty())
        text.append(" on Wine ").append(wineVersion_);
    return text;
}

std::string SystemInformation::MachineDescription() const {
    std::string text = processorName_.empty() ? "Unknown processor" : processorName_;
    text += FormatAnsi(", %lu processor%s, %llu MB memory", processors_,
                       processors_ == 1 ? "" : "s", memoryMegabytes_);
    return text;
}

} // namespace platform
