#include "shell/run_mode.h"

#include "platform/text.h"
#include "shell/command_line.h"
#include "shell/product_id_range.h"
#include "shell/relaunch.h"

#include <windows.h>

namespace {

bool AsksForHelp(const std::string& argument) {
    return argument[0] == '?' || (argument.size() >= 2 && argument[0] == '-' && argument[1] == '?');
}

// A program path whose only backslash leads it, or that is too short to name a file, says
// nothing about how the program was started; a path without any backslash (started by name
// from the search path) is read normally.
bool ProgramPathIsUnusable(const std::string& program) {
    return program.size() < 2 || program.rfind('\\') == 0;
}

void ReadIds(const std::vector<std::string>& arguments, size_t next, StartupSettings& settings) {
    if (next >= arguments.size())
        return;
    settings.resellerId = static_cast<uint32_t>(platform::ReadDecimal(arguments[next]));
    if (next + 1 >= arguments.size())
        return;
    settings.productId = static_cast<uint32_t>(platform::ReadDecimal(arguments[next + 1]));
    settings.mappedProductId = MapProductId(settings.productId);
}

void AcknowledgeLauncherAtStart() {
    AcknowledgeLauncher();
}

} // namespace

RunMode DetermineRunModeFromArguments(const std::vector<std::string>& arguments,
                                      StartupSettings& settings, void (*acknowledge)()) {
    if (arguments.empty())
        return RunMode::Usage;
    if (ProgramPathIsUnusable(arguments[0]))
        return RunMode::Normal;
    if (arguments.size() < 2 || arguments[1].empty())
        return RunMode::Normal;
    const std::string& first = arguments[1];
    if (AsksForHelp(first))
        return RunMode::Usage;
    if (first == kSwitchCleanUp)
        return RunMode::CleanUp;

    RunMode mode = RunMode::Normal;
    size_t next = 1;
    if (first == kSwitchHiddenRun) {
        mode = RunMode::Relaunched;
        settings.hidden = true;
        next = 2;
    } else if (first == kSwitchHidden) {
        settings.hidden = true;
        next = 2;
    } else if (first == kSwitchRunUpdating) {
        if (acknowledge)
            acknowledge();
        mode = RunMode::Relaunched;
        next = 2;
    }
    ReadIds(arguments, next, settings);
    return mode;
}

RunMode DetermineRunMode() {
    return DetermineRunModeFromArguments(SplitCommandLine(std::string_view(::GetCommandLineA())),
                                         TheStartupSettings(), &AcknowledgeLauncherAtStart);
}
