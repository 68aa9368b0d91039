#include "tests/catalogue/scan_registry.h"

#include "catalogue/system_registry_reader.h"
#include "platform/unique_resource.h"
#include "tools/demo_products/product_registration.h"

namespace {

platform::UniqueRegKey CreateKey(const std::string& path) {
    platform::UniqueRegKey key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY,
                      nullptr, key.Put(), nullptr);
    return key;
}

} // namespace

ScanRegistry::ScanRegistry(bool real) : real_(real) {
    if (real_)
        demo::RemoveAllProducts();
}

ScanRegistry::~ScanRegistry() {
    if (real_)
        demo::RemoveAllProducts();
}

void ScanRegistry::AddKey(const std::string& path) {
    if (real_)
        CreateKey(path);
    else
        twin_.AddKey(path);
}

void ScanRegistry::SetValue(const std::string& path, const std::string& name,
                            const std::string& bytes, DWORD type) {
    if (!real_) {
        twin_.SetValue(path, name, bytes);
        return;
    }
    ::RegSetValueExA(CreateKey(path).Get(), name.c_str(), 0, type,
                     reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

CRegistryReader& ScanRegistry::Reader() {
    return real_ ? TheSystemRegistryReader() : twin_;
}
