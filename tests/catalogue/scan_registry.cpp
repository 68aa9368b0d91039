#include "tests/catalogue/scan_registry.h"

#include "platform/unique_resource.h"
#include "tools/demo_products/product_registration.h"

namespace {

class TwinRegistry final : public ScanRegistry {
public:
    void AddKey(const std::string& path) override { twin_.AddKey(path); }
    void SetValue(const std::string& path, const std::string& name,
                  const std::string& bytes) override {
        twin_.SetValue(path, name, bytes);
    }
    void SetString(const std::string& path, const std::string& name,
                   const std::string& text) override {
        twin_.SetString(path, name, text);
    }
    CRegistryReader& Reader() override { return twin_; }
    int KeysLeftOpen() const override { return twin_.OpenKeys(); }

private:
    CMemoryRegistryReader twin_;
};

class RealRegistry final : public ScanRegistry {
public:
    RealRegistry() { demo::RemoveAllProducts(); }
    ~RealRegistry() override { demo::RemoveAllProducts(); }

    void AddKey(const std::string& path) override { Create(path); }
    void SetValue(const std::string& path, const std::string& name,
                  const std::string& bytes) override {
        Write(path, name, REG_BINARY, bytes);
    }
    void SetString(const std::string& path, const std::string& name,
                   const std::string& text) override {
        Write(path, name, REG_SZ, text + '\0');
    }
    CRegistryReader& Reader() override { return TheSystemRegistryReader(); }

private:
    static platform::UniqueRegKey Create(const std::string& path) {
        platform::UniqueRegKey key;
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                          KEY_WRITE | KEY_WOW64_32KEY, nullptr, key.Put(), nullptr);
        return key;
    }
    static void Write(const std::string& path, const std::string& name, DWORD type,
                      const std::string& bytes) {
        const platform::UniqueRegKey key = Create(path);
        ::RegSetValueExA(key.Get(), name.c_str(), 0, type,
                         reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()));
    }
};

} // namespace

std::unique_ptr<ScanRegistry> MakeScanRegistry(bool real) {
    if (real)
        return std::make_unique<RealRegistry>();
    return std::make_unique<TwinRegistry>();
}
