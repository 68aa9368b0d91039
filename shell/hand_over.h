#pragma once
// After an update: a product's installer may have brought a newer wizard into the product's
// folder; that wizard, started in clean-up mode, removes the update temporary folder once this
// process (which runs from it) has ended.

#include <string>

// The command line that starts `wizardPath` in clean-up mode.
std::wstring ComposeCleanUpCommandLine(const std::wstring& wizardPath);

// Starts the wizard of the first downloaded product whose folder holds one of a suitable date.
void HandOverToInstalledWizard();
