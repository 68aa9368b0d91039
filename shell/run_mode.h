#pragma once
// The four ways a run of the program can go, chosen from its command line.

#include "shell/startup_settings.h"

#include <string>
#include <vector>

enum class RunMode {
    CleanUp = 1,    // "-velk_update_wizard_delete_temp_folder": delete the update folder
    Relaunched = 2, // "-hiden_run" or "-velk_update_wizard_run_updating": the copy that updates
    Normal = 3,     // anything else: copy itself and start the copy
    Usage = 4,      // no arguments, or a request for help
};

inline constexpr char kSwitchCleanUp[] = "-velk_update_wizard_delete_temp_folder";
inline constexpr char kSwitchHiddenRun[] = "-hiden_run";
inline constexpr char kSwitchHidden[] = "-hiden";
inline constexpr char kSwitchRunUpdating[] = "-velk_update_wizard_run_updating";

// Reads the process's 8-bit command line, fills TheStartupSettings() and returns the mode.
// Calls AcknowledgeLauncher at once when the copy was started with
// "-velk_update_wizard_run_updating".
RunMode DetermineRunMode();

// The same from split arguments into `settings`; `acknowledge` (may be null) is what is called
// for "-velk_update_wizard_run_updating".
RunMode DetermineRunModeFromArguments(const std::vector<std::string>& arguments,
                                      StartupSettings& settings, void (*acknowledge)());
