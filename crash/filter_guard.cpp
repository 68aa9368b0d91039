// Keeps the crash routine the process's unhandled-exception filter: every import of
// SetUnhandledExceptionFilter in the loaded modules is pointed at a routine that changes nothing.

#include "crash/handler_state.h"
#include "platform/unique_resource.h"

#include <tlhelp32.h>

#include <cstdint>

namespace crash {
namespace {

using SetFilterFunction = LPTOP_LEVEL_EXCEPTION_FILTER(WINAPI*)(LPTOP_LEVEL_EXCEPTION_FILTER);

SetFilterFunction g_realSetFilter = nullptr;

LPTOP_LEVEL_EXCEPTION_FILTER WINAPI IgnoreFilterChange(LPTOP_LEVEL_EXCEPTION_FILTER) {
    return nullptr;
}

SetFilterFunction ExportOf(const wchar_t* module) {
    const HMODULE handle = ::GetModuleHandleW(module);
    if (!handle)
        return nullptr;
    return reinterpret_cast<SetFilterFunction>(
        reinterpret_cast<void*>(::GetProcAddress(handle, "SetUnhandledExceptionFilter")));
}

void WriteImportSlot(std::uintptr_t* slot, std::uintptr_t value) {
    DWORD oldProtection = 0;
    if (!::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &oldProtection))
        return;
    *slot = value;
    ::VirtualProtect(slot, sizeof(*slot), oldProtection, &oldProtection);
}

// Points every import slot of `module` that holds one of `targets` at the ignoring routine.
void RedirectImports(const unsigned char* module, const std::uintptr_t (&targets)[2]) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(module + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
        return;
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0 || directory.Size == 0)
        return;
    const auto replacement = reinterpret_cast<std::uintptr_t>(&IgnoreFilterChange);
    for (const auto* import =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(module + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (import->FirstThunk == 0)
            continue;
        auto* slot = reinterpret_cast<std::uintptr_t*>(const_cast<unsigned char*>(module) +
                                                       import->FirstThunk);
        for (; *slot != 0; ++slot) {
            if ((targets[0] && *slot == targets[0]) || (targets[1] && *slot == targets[1]))
                WriteImportSlot(slot, replacement);
        }
    }
}

} // namespace

void GuardUnhandledExceptionFilter() {
    const SetFilterFunction kernel = ExportOf(L"kernel32.dll");
    const SetFilterFunction kernelBase = ExportOf(L"kernelbase.dll");
    if (!g_realSetFilter)
        g_realSetFilter = kernel ? kernel : kernelBase;
    const std::uintptr_t targets[2] = {reinterpret_cast<std::uintptr_t>(kernel),
                                       reinterpret_cast<std::uintptr_t>(kernelBase)};
    platform::UniqueHandle snapshot(
        ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ::GetCurrentProcessId()));
    if (!snapshot)
        return;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Module32FirstW(snapshot.Get(), &entry); more;
         more = ::Module32NextW(snapshot.Get(), &entry))
        RedirectImports(entry.modBaseAddr, targets);
}

LPTOP_LEVEL_EXCEPTION_FILTER SetFilterThroughGuard(LPTOP_LEVEL_EXCEPTION_FILTER filter) {
    if (!g_realSetFilter)
        g_realSetFilter = ExportOf(L"kernel32.dll");
    return g_realSetFilter ? g_realSetFilter(filter) : nullptr;
}

} // namespace crash
