#pragma once
// The relaunch from a temporary copy and the hand-over of two handles between a starting and a
// started process through a small named shared block.

#include <windows.h>

#include <cstdint>
#include <string>

// The named block through which a starter hands its process handle and an acknowledgement event
// to the process it starts.
inline constexpr char kHandOverBlockName[] =
    "FB4B2B76-3823-4004-A4F5-C019BA623A48_kv_family_mapping_file";
inline constexpr DWORD kHandOverBlockSize = 1024;

// The block's layout: handles as 32-bit values in both builds (handle values fit in 32 bits and
// the 32-bit products read the same block).
struct HandOverBlock {
    uint32_t starterProcess;   // valid in the started process; 0 when duplication failed
    uint32_t acknowledgeEvent; // valid in the started process; 0 when duplication failed
    uint8_t unused[1016];
};
static_assert(sizeof(HandOverBlock) == kHandOverBlockSize);

// Normal mode: copies the executable into the update temporary folder and starts the copy in
// relaunched mode. True when the copy was started (the caller then ends); false when the update
// is to run in this process.
bool RelaunchFromTempCopy();

// The copy's command line: the quoted copy path, the switch, and the ids when given.
std::wstring ComposeRelaunchCommandLine(const std::wstring& copyPath);

// Starts `commandLine` suspended, hands it this process's handle and an event through the block,
// resumes it and waits up to 10 seconds for the event. True when the process was started.
bool StartWithHandshake(const std::wstring& commandLine);

// The started side: signals the starter's event and waits up to 10 seconds for the starter to
// end. True when a hand-over block existed and was read.
bool AcknowledgeLauncher();
