#pragma once
// Minidumps of the crashed process, written by the debugging library on a thread of their own:
// a dump of the faulting thread made from inside itself is unreliable.

#include <windows.h>

namespace crash {

// Writes a minidump of `type` (MINIDUMP_TYPE bits) describing `pointers` on `threadId` into
// `path`, through `writer` (dbghelp's MiniDumpWriteDump). False when no file was written.
bool WriteMinidump(FARPROC writer, const char* path, DWORD type, EXCEPTION_POINTERS* pointers,
                   DWORD threadId);

// "minidump_YYYYMMDD_HHMMSS.dmp" of the local time inside `folder`, every missing folder of
// which is created. False when the path does not fit or a folder cannot be made.
bool PrepareKeptMinidumpPath(const char* folder, char (&path)[MAX_PATH]);

// "minidump.dmp" in the user's temporary folder.
bool TemporaryMinidumpPath(char (&path)[MAX_PATH]);

// Creates each missing folder of `folder` (an 8-bit path); true when it exists afterwards.
bool CreateFolderPath(const char* folder);

} // namespace crash
