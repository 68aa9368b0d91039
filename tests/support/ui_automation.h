#pragma once
// Driving the program's windows from a test process: finding windows, reading controls and list
// views (also in other processes), pressing buttons, answering message boxes, screenshots.

#include "platform/unique_resource.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

// A started process.
struct Process {
    platform::UniqueHandle handle;
    DWORD id = 0;
    explicit operator bool() const { return handle.IsValid(); }
};

// Starts `commandLine` (environment of this process plus `extraEnvironment`, "NAME=value" each).
Process Launch(const std::wstring& commandLine,
               const std::vector<std::wstring>& extraEnvironment = {});

// Ends every process whose executable file name is `name` (a test's leftovers, so that one
// failed test does not hold the program's single-instance mutex for the next).
void EndProcessesNamed(const wchar_t* name);
// The ids of the running processes whose executable file name is `name`.
std::vector<DWORD> ProcessesNamed(const wchar_t* name);
// Waits until no such process runs (a run that starts copies of itself has ended).
bool WaitForProcessesNamedToEnd(const wchar_t* name, DWORD timeoutMs);

// Waits for the process to end; returns its exit code, or -1 on time-out (the process is then
// terminated so that no test leaves one behind).
int WaitForExit(Process& process, DWORD timeoutMs);

// Polls `condition` every 50 ms until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The first visible top-level window with this class (null: any) and caption (null: any),
// optionally of one process (0: any), waiting up to `timeoutMs`.
HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD processId,
                   DWORD timeoutMs);

// Every visible top-level window of the class, of any process.
std::vector<HWND> TopWindows(const wchar_t* className);

// The whole text of a window or control of any process, however long; empty when it is gone.
std::wstring WindowText(HWND window);
std::wstring ControlText(HWND parent, int id);
std::wstring ClassName(HWND window);
DWORD ProcessOf(HWND window);

// The wizard (a property sheet): its current page and its buttons.
HWND CurrentPage(HWND sheet);
bool ButtonEnabled(HWND sheet, int id);
bool ButtonVisible(HWND sheet, int id);
// Presses Back, Next, Finish or Cancel (PSBTN_*) as the user would: once the button is enabled
// (a press on a disabled button is lost, as a click would be), without waiting for the result.
void PressWizardButton(HWND sheet, int psbtn);
// The first wizard of any process whose current page is shown, waiting up to `timeoutMs`.
HWND WaitForWizard(DWORD timeoutMs);
// Waits until the current page holds a control with this id.
bool WaitForPageWithControl(HWND sheet, int controlId, DWORD timeoutMs);

// Texts of the static controls of a page, in child order.
std::vector<std::wstring> StaticTexts(HWND page);

// List views, read through memory of the list view's own process.
struct ListRow {
    std::vector<std::wstring> columns;
    bool checked = false;
    int image = -1;
};
std::vector<ListRow> ReadListView(HWND listView, int columnCount);
// The headings of the list's columns.
std::vector<std::wstring> ReadListHeadings(HWND listView);
// The width in pixels that the list view gives `text` in its own font (LVM_GETSTRINGWIDTH).
int ListStringWidth(HWND listView, const std::wstring& text);
// Clicks at the centre of item `index`'s label, or of header item `column`.
void ClickListItem(HWND listView, int index);
void ClickListHeader(HWND listView, int column);
// Selects and focuses item `index` (the notification of a changing item follows).
void SelectListItem(HWND listView, int index);

// A message box of any process with this caption: its text, and pressing one of its buttons.
// A message box is a dialog without property-sheet page; `processId` 0 means any process.
HWND WaitForMessageBox(const wchar_t* caption, DWORD processId, DWORD timeoutMs);
std::wstring MessageBoxText(HWND box);
void AnswerMessageBox(HWND box, int buttonId);
// Waits for such a box, answers it with `buttonId` and waits until it has gone. Its text (empty
// when no box showed or it stayed) and the id of the button that Enter presses (0: none).
struct Question {
    std::wstring text;
    int defaultButton = 0;
};
Question AnswerQuestion(const wchar_t* caption, DWORD processId, int buttonId);

// Saves the X display as `name` (such as "de/intro.png") below $ZAPDATE_SCREENSHOTS (a Unix
// folder with its en/ and de/ sub-folders; scripts/test makes them in build/screenshots) with
// ImageMagick's import. False without display.
bool SaveScreenshot(const std::string& name);

// The folder of this test program, with a trailing backslash.
std::wstring ProgramFolder();
// A fresh empty folder under the system temporary folder.
std::wstring MakeTempFolder(const std::wstring& name);

} // namespace uitest
