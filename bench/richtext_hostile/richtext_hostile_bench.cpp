// Hostile markup against plain text of the same size in the rich-text label: the time of a paint
// (what the label does whenever it is shown, hovered or animated) and the growth of the peak
// working set during one paint, each hostile case against the plain text in the same run. The goal
// is at most 20 times the time and at most 64 MB more memory for every case of at most a megabyte.
//
// The memory of one draw is measured in a fresh process each (this program started again with
// "--memory"), since a process's peak cannot be reset.

#include "bench/support/bench_report.h"
#include "bench/support/hostile_markup.h"
#include "bench/support/memory_surface.h"
#include "bench/support/peak_memory.h"
#include "richtext/html_static.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr int kRuns = 3;
constexpr unsigned kSeed = 20261206;
constexpr int kGeneratedSamples = 12;
constexpr size_t kGeneratedSize = 200 * 1024;
constexpr double kMegabyte = 1024.0 * 1024.0;

// Case `index`: the known cases first, then the generator's samples in order.
std::wstring Markup(int index) {
    const std::vector<hostile::Case> known = hostile::KnownCases();
    if (index < static_cast<int>(known.size()))
        return known[static_cast<size_t>(index)].markup;
    hostile::Generator generator(kSeed);
    std::wstring markup;
    for (int i = static_cast<int>(known.size()); i <= index; ++i)
        markup = generator.Next(kGeneratedSize);
    return markup;
}

std::string Name(int index) {
    return hostile::KnownCases()[static_cast<size_t>(index)].name;
}

int CaseCount() {
    return static_cast<int>(hostile::KnownCases().size()) + kGeneratedSamples;
}

// A label of kWidth x kHeight on a window that is never shown; its paints go to a memory
// surface.
class Label {
public:
    Label()
        : parent_(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, kWidth, kHeight, nullptr,
                                    nullptr, nullptr, nullptr)) {
        const HWND label =
            ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, kWidth,
                              kHeight, parent_, nullptr, nullptr, nullptr);
        control_.SubclassWindow(label);
    }
    ~Label() {
        control_.DestroyWindow();
        ::DestroyWindow(parent_);
    }
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;
    void SetText(const std::wstring& text) { control_.SetText(text); }
    void Paint(HDC dc) {
        ::SendMessageW(control_.Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }

private:
    HWND parent_;
    CHtmlStatic control_;
};

double PaintSeconds(const std::wstring& text, HDC dc) {
    Label label;
    label.SetText(text);
    return bench::MedianSeconds(kRuns, [&] { label.Paint(dc); });
}

// "--memory <index> <plain>": one paint of case `index` (or of plain text of its size), the
// growth of the peak working set in kilobytes as the exit code.
int MeasureMemory(int index, bool plain) {
    std::wstring text = Markup(index);
    if (plain)
        text = hostile::PlainText(text.size());
    const bench::MemorySurface surface(kWidth, kHeight);
    Label label;
    label.SetText(text);
    const size_t growth = bench::PeakGrowth([&] { label.Paint(surface.Dc()); });
    return static_cast<int>(growth / 1024);
}

// Starts this program for one memory figure; megabytes.
double MemoryOfOneDraw(int index, bool plain) {
    wchar_t program[MAX_PATH];
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(program) + L"\" --memory " +
                           std::to_wstring(index) + (plain ? L" plain" : L" hostile");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD kilobytes = 0;
    ::GetExitCodeProcess(process.hProcess, &kilobytes);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return kilobytes / 1024.0;
}

struct Figures {
    size_t size = 0;
    double seconds = 0;
    double plainSeconds = 0;
    double megabytes = 0;
    double plainMegabytes = 0;
    double TimeRatio() const { return plainSeconds > 0 ? seconds / plainSeconds : 0; }
    double ExtraMegabytes() const { return megabytes - plainMegabytes; }
};

Figures Measure(int index, HDC dc) {
    const std::wstring markup = Markup(index);
    Figures figures;
    figures.size = markup.size();
    figures.seconds = PaintSeconds(markup, dc);
    figures.plainSeconds = PaintSeconds(hostile::PlainText(markup.size()), dc);
    figures.megabytes = MemoryOfOneDraw(index, false);
    figures.plainMegabytes = MemoryOfOneDraw(index, true);
    return figures;
}

void Print(const std::string& name, const Figures& figures) {
    const std::string figure = name + " (" + std::to_string(figures.size / 1024) + " K)";
    bench::PrintRatio((figure + ", time").c_str(), figures.seconds, "plain text",
                      figures.plainSeconds);
    std::printf("%-48s %+8.1f MB over plain text  (peak growth %.1f MB against %.1f MB)\n",
                (figure + ", memory").c_str(), figures.ExtraMegabytes(), figures.megabytes,
                figures.plainMegabytes);
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wcscmp(argv[1], L"--memory") == 0)
        return MeasureMemory(std::stoi(argv[2]), std::wcscmp(argv[3], L"plain") == 0);
    const bench::MemorySurface surface(kWidth, kHeight);
    if (!surface.IsValid()) {
        std::printf("no memory surface\n");
        return 1;
    }
    std::printf("Paints of a %d x %d label; goal: at most 20x the time, at most +64 MB\n", kWidth,
                kHeight);
    const int known = static_cast<int>(hostile::KnownCases().size());
    for (int index = 0; index < known; ++index)
        Print(Name(index), Measure(index, surface.Dc()));
    // Of the generated samples, the worst time and the worst memory.
    Figures slowest, largest;
    for (int index = known; index < CaseCount(); ++index) {
        const Figures figures = Measure(index, surface.Dc());
        if (figures.TimeRatio() > slowest.TimeRatio())
            slowest = figures;
        if (figures.ExtraMegabytes() > largest.ExtraMegabytes())
            largest = figures;
    }
    Print("generated, slowest of " + std::to_string(kGeneratedSamples), slowest);
    Print("generated, largest of " + std::to_string(kGeneratedSamples), largest);
    return 0;
}
