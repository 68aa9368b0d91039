#pragma once

#include "catalogue/installed_product.h"

#include <string>

// A build date in the user's short date format; empty when it cannot be formatted (a date of
// zeros).
std::wstring ShortDateText(const BuildDate& date);
