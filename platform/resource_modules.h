#pragma once
// The modules that hold the program's resources, searched in order with a language fallback:
// the selected language, then US English, then the neutral language.

#include <windows.h>

#include <string>

namespace platform {

// Sets the search list: `primary` first (a language satellite, or null for none), then
// `executable`. `language` is the selected language. Call once at start-up, before any thread.
void SetResourceModules(HMODULE primary, HMODULE executable, LANGID language);

// The selected language (1033 until SetResourceModules is called).
LANGID ResourceLanguage();

// The primary resource module: the satellite when one is loaded, else the executable (or the
// running image when SetResourceModules was never called).
HMODULE PrimaryResourceModule();

// The executable's own module, whose icons never come from a satellite.
HMODULE ExecutableModule();

// The first module of the list that has the resource in the selected language, 1033 or neutral,
// in that order of languages for each module. Returns null when none has it. `found` receives the
// resource handle in that module when not null.
HMODULE FindResourceModule(LPCWSTR type, LPCWSTR name, HRSRC* found = nullptr);

// The text of string resource `id` through the fallback; false when no module holds it.
bool LoadStringResource(UINT id, std::wstring& text);

} // namespace platform
