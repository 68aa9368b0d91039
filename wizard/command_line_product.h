#pragma once
// The installed product that the command-line ids name.

#include "catalogue/installed_product_list.h"
#include "shell/startup_settings.h"

#include <optional>

// The index of the first record with the settings' reseller id and their mapped product id;
// failing that, the first with their given product id. Nothing when no record matches.
std::optional<size_t> FindCommandLineProduct(const InstalledProductList& products,
                                             const StartupSettings& settings);
