#pragma once
// The choice of the language of the program's texts and dialogs, and of the satellite module
// that carries them.

#include <windows.h>

#include <string>

// The wanted language: HKCU "Software\Velk" value "Language" (a DWORD below 65535), else the
// user's default UI language, else 1033.
LANGID ReadWantedLanguage();

// A satellite found for a language.
struct SatelliteChoice {
    std::wstring path;   // empty when none was found
    LANGID language = 0; // the language of the folder it was found in
};

// Searches the satellite of `language` beside the executable `executablePath`: the executable's
// name with ".dll" for ".exe", in the folder named by the language number, then by its culture
// name, then by its two-letter code; failing those, in every language folder of the same primary
// language. Pure file look-ups; no module is loaded.
SatelliteChoice FindSatellite(const std::wstring& executablePath, LANGID language);

// The satellite that start-up loaded, as a path relative to the executable's folder
// (de-DE\Zapdate.dll); empty when none. The relaunch copies it beside the temporary copy, so that
// the copy speaks the user's language too.
const std::wstring& LoadedSatelliteRelativePath();

// Start-up: chooses the language once, loads the satellite as a resource container (no imports
// resolved, no initialisation run) and makes it the primary resource module.
void SelectResourceLanguage();
