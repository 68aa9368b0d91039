#pragma once
// The download of the chosen installer packages, the body of the worker's download phase
// (CUpdater::DownloadPackages). Each package goes to the item's packagePath; the items that got
// theirs are listed, in download order, in the worker's downloaded list.

#include "catalogue/installed_product.h"

// An item is downloaded when its status says an update is available.
bool AwaitsDownload(const InstalledProduct& item);
