#include "shell/startup_settings.h"

StartupSettings& TheStartupSettings() {
    static StartupSettings settings;
    return settings;
}
