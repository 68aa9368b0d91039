#pragma once
// After the installers have run: which products really reached the offered build, as the
// registry says now (an installer's exit code does not decide).

#include "catalogue/installed_product_list.h"
#include "engine/installation_records.h"

// Reads the installed products afresh (without requiring the program file, which an installer
// may be replacing) and applies them to the downloaded items.
void VerifyInstallation(CInstallationRecords& records);

// Gives every downloaded item the outcome that `fresh` shows for its product: updated when the
// installed build is at least the offered one, else not updated; the item then takes the
// installed version and build. When several records match, the last decides. An item whose
// product is no longer installed is not updated.
void ApplyInstalledProducts(CInstallationRecords& records, const InstalledProductList& fresh);
