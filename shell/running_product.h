#pragma once
// Whether a product of the family is running: it holds a mutex named after its product id.

#include <cstdint>

// True when a mutex "kv_family_running_mutex.<id>" (id as signed decimal) exists. Creates and
// closes the mutex for the test, so none is left behind when the product is not running.
bool IsFamilyProductRunning(uint32_t productId);

// Shows "Please close <name> before downloading the update" without owner window.
void ShowProductRunningMessage(const wchar_t* displayName);
