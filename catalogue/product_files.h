#pragma once
// The files in a product's install folder that tell its build date and that it is really there.

#include "catalogue/installed_product.h"

#include <optional>
#include <string>

// The first file in `folder` matching `pattern`, passing over the wizard's own "Zapdate.exe";
// nothing when there is none.
std::optional<std::wstring> FindProductFile(const std::wstring& folder, const wchar_t* pattern);

// The link date of the first product file that is an executable image: "k*_un.bin", then
// "k*_an.bin", then "k*.exe". All zero when none is.
BuildDate FindBuildDate(const std::wstring& folder);

// The product's program file ("k*.exe", not the wizard) exists and is at least 16384 bytes.
bool HasProgramFile(const std::wstring& folder);
