#include "wizard/command_line_product.h"

namespace {

std::optional<size_t> FindProduct(const InstalledProductList& products, uint32_t resellerId,
                                  uint32_t productId) {
    for (size_t i = 0; i < products.Count(); ++i) {
        const InstalledProduct& product = products.At(i);
        if (product.resellerId == resellerId && product.productId == productId)
            return i;
    }
    return std::nullopt;
}

} // namespace

std::optional<size_t> FindCommandLineProduct(const InstalledProductList& products,
                                             const StartupSettings& settings) {
    if (auto found = FindProduct(products, settings.resellerId, settings.mappedProductId))
        return found;
    return FindProduct(products, settings.resellerId, settings.productId);
}
