#include "catalogue/installed_product_list.h"

#include "platform/run_log.h"

#include "catalogue/family_table.h"
#include "catalogue/install_code.h"
#include "catalogue/product_files.h"
#include "catalogue/product_name_table.h"
#include "catalogue/system_registry_reader.h"
#include "platform/text.h"
#include "shell/product_id_range.h"
#include "shell/startup_settings.h"
#include "shell/update_temp_folder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kValueBufferBytes = 1025;
constexpr DWORD kSubKeyNameChars = 9;
constexpr size_t kSubKeyNameLength = 8;

constexpr uint32_t kUpdatableProductIds[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 16, 18, 20, 22, 32};

bool IsUpdatable(uint32_t productId) {
    return std::find(std::begin(kUpdatableProductIds), std::end(kUpdatableProductIds), productId) !=
           std::end(kUpdatableProductIds);
}

// A registry value as 8-bit text: up to its first zero byte, whatever its type.
std::optional<std::string> ReadText(CRegistryReader& reader, CRegistryReader::Key key,
                                    const char* name) {
    auto bytes = reader.QueryValue(key, name, kValueBufferBytes);
    if (!bytes)
        return std::nullopt;
    bytes->resize(strnlen(bytes->data(), bytes->size()));
    return bytes;
}

bool IsHexName(const std::string& name) {
    return std::all_of(name.begin(), name.end(),
                       [](unsigned char c) { return std::isxdigit(c) != 0; });
}

uint32_t ReadHex(const std::string& digits) {
    return static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
}

void SplitVersion(const std::string& text, uint32_t& major, uint32_t& minor) {
    const size_t point = text.find('.');
    major = platform::ReadDecimal(std::string_view(text).substr(0, point));
    minor = point == std::string::npos ? 0 : platform::ReadDecimal(text.substr(point + 1));
}

// A product named on the command line by an id of another edition continues with the id of
// its registry key.
void RewriteStartupIds(const InstalledProduct& product) {
    StartupSettings& settings = TheStartupSettings();
    if (settings.resellerId != product.resellerId)
        return;
    if (settings.productId != product.productId && settings.mappedProductId != product.productId)
        return;
    settings.productId = product.keyProductId;
    settings.mappedProductId = product.keyProductId;
}

} // namespace

InstalledProductList::InstalledProductList(bool requireProgramFile)
    : requireProgramFile_(requireProgramFile) {}

void InstalledProductList::ScanInstalledProducts() {
    ScanInstalledProducts(TheSystemRegistryReader());
}

void InstalledProductList::ScanInstalledProducts(CRegistryReader& reader) {
    anyLocationFound_ = false;
    CollectLocations();
    for (const std::string& familyKey : familyKeys_)
        ScanFamilyKey(reader, familyKey);
    ScanKeysWithoutSubKeys(reader);
}

void InstalledProductList::CollectLocations() {
    const ProductIdSpan span = GenericProductIdSpan(ProductNameTable());
    for (uint32_t id = span.smallest; id <= span.largest + 1; ++id) {
        const auto path = ProductKeyPath(0, id);
        if (!path)
            continue;
        const std::string ending = platform::FormatAnsi("\\%.4X%.4X", 0u, id);
        if (path->size() > ending.size() &&
            path->compare(path->size() - ending.size(), ending.size(), ending) == 0)
            familyKeys_.insert(path->substr(0, path->size() - ending.size()));
        else
            idsWithoutSubKey_.insert(id);
    }
}

void InstalledProductList::ScanFamilyKey(CRegistryReader& reader, const std::string& familyKey) {
    const CReaderKey key(reader, familyKey);
    if (!key)
        return;
    for (DWORD index = 0;; ++index) {
        std::string name;
        const auto result = reader.EnumerateSubKey(key.Get(), index, kSubKeyNameChars, name);
        if (result == CRegistryReader::EnumResult::End)
            break;
        if (result == CRegistryReader::EnumResult::NameTooLong || name.size() != kSubKeyNameLength)
            continue;
        // A foreign key among the installations: nothing after it belongs to the family.
        if (!IsHexName(name))
            return;
        const uint32_t productId = MapProductId(ReadHex(name.substr(4)));
        const uint32_t installCode = ReadHex(name.substr(0, 4));
        ReadInstalledProduct(reader, familyKey + "\\" + name, installCode, productId);
    }
    anyLocationFound_ = true;
}

void InstalledProductList::ScanKeysWithoutSubKeys(CRegistryReader& reader) {
    std::set<std::string> pathsRead;
    for (const uint32_t id : idsWithoutSubKey_) {
        for (uint32_t reseller = 0; reseller <= 255; ++reseller) {
            for (uint32_t edition = 0; edition <= 6; ++edition) {
                for (const bool cd : {false, true}) {
                    const uint32_t code = InstallCode{edition, cd, reseller}.Code();
                    const auto path = ProductKeyPath(code, id);
                    if (!path || !pathsRead.insert(*path).second)
                        continue;
                    if (ReadInstalledProduct(reader, *path, code, id))
                        anyLocationFound_ = true;
                }
            }
        }
    }
}

bool InstalledProductList::ReadInstalledProduct(CRegistryReader& reader, const std::string& keyPath,
                                                uint32_t installCode, uint32_t productId) {
    const CReaderKey key(reader, keyPath);
    if (!key)
        return false;
    const InstallCode code = InstallCode::FromCode(installCode);
    InstalledProduct product;
    product.resellerId = code.resellerId;
    product.productId = productId;
    product.keyProductId = productId;
    product.installCode = installCode;

    const auto installPath = ReadText(reader, key.Get(), "InstallPath");
    if (!installPath || !IsUpdatable(productId))
        return false;
    product.installFolder = platform::WideFromAnsi(*installPath);
    product.buildDate = FindBuildDate(product.installFolder);
    if (requireProgramFile_ && !HasProgramFile(product.installFolder))
        return false;

    const auto language = ReadText(reader, key.Get(), "LanguageCode");
    product.language = language && language->size() >= 2 ? *language : "en";
    product.displayName = LookUpProductName(
        {PackLanguage(product.language), product.resellerId, 0, product.productId});
    product.displayName += EditionSuffix(code);
    product.offeredName = product.displayName;
    RewriteStartupIds(product);

    const auto version = ReadText(reader, key.Get(), "InstalledVer");
    if (!version)
        return false;
    SplitVersion(*version, product.versionMajor, product.versionMinor);
    product.offeredMajor = product.versionMajor;
    product.offeredMinor = product.versionMinor;
    const auto build = ReadText(reader, key.Get(), "InstalledBuild");
    product.build = build ? platform::ReadDecimal(*build) : 0;
    product.offeredBuild = product.build;
    product.packagePath =
        platform::FormatWide(L"%ls\\kvu_%u_%u_32_64.exe", UpdateTempFolder().c_str(),
                             product.resellerId, product.productId);
    products_.push_back(product);
    return true;
}

bool InstalledProductList::SetSelected(size_t index, bool selected) {
    if (index >= products_.size())
        return false;
    products_[index].SetSelected(selected);
    ++changeCount_;
    return true;
}

void InstalledProductList::SetAllSelected(bool selected) {
    for (InstalledProduct& product : products_)
        product.SetSelected(selected);
}

size_t InstalledProductList::CountSelected() {
    const size_t count = static_cast<size_t>(std::count_if(
        products_.begin(), products_.end(), [](const auto& p) { return p.IsSelected(); }));
    if (count >= 1)
        ++changeCount_;
    return count;
}

InstalledProductList& TheInstalledProducts() {
    static InstalledProductList list(true);
    return list;
}

void LogProductsFound(const InstalledProductList& products) {
    if (products.Count() == 0)
        platform::LogRunStep(L"products found: none");
    for (const InstalledProduct& product : products.Products())
        platform::LogRunStepF(L"product found: %s %u.%u build %u (reseller %u, product %u, "
                              L"language %hs)",
                              product.displayName.c_str(), product.versionMajor,
                              product.versionMinor, product.build, product.resellerId,
                              product.keyProductId, product.language.c_str());
}
