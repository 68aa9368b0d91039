#include "tests/catalogue/scan_registry.h"

#include "catalogue/system_registry_reader.h"
#include "platform/unique_resource.h"

namespace {

platform::UniqueRegKey CreateKey(const std::string& path, REGSAM view) {
    platform::UniqueRegKey key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr,
                      key.Put(), nullptr);
    return key;
}

} // namespace

ScanRegistry::ScanRegistry(bool real, REGSAM view) : real_(real), view_(view) {
    RemoveMakersKey();
}

ScanRegistry::~ScanRegistry() {
    RemoveMakersKey();
}

void ScanRegistry::RemoveMakersKey() const {
    for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        platform::UniqueRegKey software; // RegDeleteTree has no view of its own
        if (real_ && ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | view,
                                     software.Put()) == ERROR_SUCCESS)
            ::RegDeleteTreeA(software.Get(), "Velk");
    }
}

void ScanRegistry::AddKey(const std::string& path) {
    if (real_)
        CreateKey(path, view_);
    else
        twin_.AddKey(path);
}

void ScanRegistry::SetValue(const std::string& path, const std::string& name,
                            const std::string& bytes, DWORD type) {
    if (!real_) {
        twin_.SetValue(path, name, bytes);
        return;
    }
    ::RegSetValueExA(CreateKey(path, view_).Get(), name.c_str(), 0, type,
                     reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

CRegistryReader& ScanRegistry::Reader() {
    return real_ ? TheSystemRegistryReader() : twin_;
}
