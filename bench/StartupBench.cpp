// Start-up of the real Vellicot.exe against a minimal Win32 program, both run alternately from
// fresh folders: the time from process creation to the main window's first complete paint on
// screen, the peak working set after start-up and after a few picks, and the exe's size.
//
// "First complete paint" is the moment the window's client area on screen first shows the picture
// it then keeps: the driver grabs the client area every millisecond or so from the moment the
// window is visible until the picture has not changed for a second, and takes the start of the
// grab that first showed the final picture. For Vellicot that picture holds the map, the sixteen
// tree buttons, the lines and every other control; for the baseline it is its one-colour
// background.
//
// vellicot_startup_bench.exe [--runs N] [--vellicot PATH] [--baseline PATH]
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "bench/BenchDriver.h"
#include "bench/VellicotUi.h"

namespace bench {
namespace {

constexpr double kQuietMs = 1000;
constexpr double kTimeoutMs = 30000;
constexpr double kMiB = 1024.0 * 1024.0;

struct Program {
    const char* title;
    std::wstring exe;
    const wchar_t* className;
};

struct StartupRun {
    bool ok = false;
    double visible = 0;   // the window found visible
    double complete = 0;  // its settled picture first on screen
    double pollPeriod = 0;
    std::size_t peakWorkingSet = 0;
};

// Starts the program from a fresh folder and watches its window until the picture settles. The
// process is left running for the caller to work or close.
StartupRun StartAndWatch(const Program& program, const std::wstring& runName, Process& process,
                         HWND& window) {
    StartupRun run;
    std::wstring copy = FreshCopy(program.exe, runName);
    if (copy.empty() || !process.Start(copy))
        return run;
    window = nullptr;
    while ((window = process.FindTopLevel(program.className)) == nullptr) {
        if (NowMs() - process.StartedAt() > kTimeoutMs)
            return run;
        Sleep(1);
    }
    run.visible = NowMs() - process.StartedAt();
    // An all-black picture to begin with: neither program's settled picture is all black.
    ScreenArea picture(ClientRectOnScreen(window));
    Watch watch = WatchUntilSettled(picture, process.StartedAt(), kQuietMs, kTimeoutMs);
    if (!watch.settled || watch.lastChange < 0)
        return run;
    run.complete = watch.lastChange;
    run.pollPeriod = watch.pollPeriod;
    run.peakWorkingSet = process.PeakWorkingSet();
    run.ok = true;
    return run;
}

StartupRun TimeOneStart(const Program& program, const std::wstring& runName) {
    // The pointer away from both windows, so no hover plays into the first picture.
    MoveTo(POINT{2, 2});
    Process process;
    HWND window = nullptr;
    StartupRun run = StartAndWatch(program, runName, process, window);
    if (process.Close(window) != 0)
        run.ok = false;
    return run;
}

struct Series {
    std::vector<double> visible;
    std::vector<double> complete;
    std::vector<double> pollPeriod;
    std::vector<double> peakWorkingSet;
};

void Report(const char* title, const Series& series) {
    Print("%s\n", title);
    Print("  window visible      %s\n", Describe(Summarise(series.visible)).c_str());
    Print("  first complete paint %s\n", Describe(Summarise(series.complete)).c_str());
    Print("  peak working set     %s\n", Describe(Summarise(series.peakWorkingSet), "MiB").c_str());
    Print("  grab period          %.2f ms (the resolution of the paint time)\n",
          Summarise(series.pollPeriod).median);
}

bool Record(Series& series, const StartupRun& run, const char* title, int index) {
    if (!run.ok) {
        Print("FAILED: %s run %d did not show a settled window\n", title, index);
        return false;
    }
    Print("  run %2d %-9s visible %7.1f ms, complete %7.1f ms, peak working set %s\n", index, title,
          run.visible, run.complete, MiB(static_cast<double>(run.peakWorkingSet)).c_str());
    series.visible.push_back(run.visible);
    series.complete.push_back(run.complete);
    series.pollPeriod.push_back(run.pollPeriod);
    series.peakWorkingSet.push_back(static_cast<double>(run.peakWorkingSet) / kMiB);
    return true;
}

// The peak working set of one more Vellicot run after start-up and after a few picks: a virtue
// and its vice (a line), the same entry on two trees (both red), a change and a cancel.
bool PeakAfterPicks(const Program& vellicot) {
    MoveTo(POINT{2, 2});
    Process process;
    HWND window = nullptr;
    StartupRun run = StartAndWatch(vellicot, L"startup-picks", process, window);
    if (!run.ok)
        return false;
    struct {
        int tree;
        int entry;
    } const picks[] = {{3, 1}, {10, 9}, {1, 5}, {2, 5}, {7, 12}, {7, 4}, {2, 17}, {16, 16}};
    for (const auto& pick : picks) {
        if (!Pick(process, window, pick.tree, pick.entry)) {
            Print("FAILED: the pick of entry %d for tree %d did not go through\n", pick.entry, pick.tree);
            return false;
        }
    }
    std::size_t afterPicks = process.PeakWorkingSet();
    Print("Vellicot peak working set: after start-up %s, after %zu picks %s\n",
          MiB(static_cast<double>(run.peakWorkingSet)).c_str(), std::size(picks),
          MiB(static_cast<double>(afterPicks)).c_str());
    return process.Close(window) == 0;
}

}  // namespace
}  // namespace bench

int wmain(int argc, wchar_t** argv) {
    using namespace bench;
    int runs = 10;
    std::wstring folder = DriverFolder();
    Program vellicot{"Vellicot", folder + L"\\..\\Vellicot.exe", L"TForm1"};
    Program baseline{"baseline", folder + L"\\vellicot_minimal_window.exe", L"MinimalWindow"};
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--runs") {
            runs = std::max(1, _wtoi(argv[i + 1]));
        } else if (option == L"--vellicot") {
            vellicot.exe = argv[i + 1];
        } else if (option == L"--baseline") {
            baseline.exe = argv[i + 1];
        }
    }
    long long exeSize = FileSize(vellicot.exe);
    long long baselineSize = FileSize(baseline.exe);
    if (exeSize < 0 || baselineSize < 0) {
        Print("FAILED: Vellicot.exe or the baseline is missing\n");
        return 1;
    }

    Print("Start-up under Wine: %d runs of each, alternating, each from a fresh folder\n", runs);
    // One start of each first, uncounted: Wine's first start of a program loads what later starts
    // find in memory (the fonts, the system libraries).
    if (!TimeOneStart(baseline, L"startup-warm-baseline").ok || !TimeOneStart(vellicot, L"startup-warm").ok) {
        Print("FAILED: the warm-up start did not show a settled window\n");
        return 1;
    }
    Series vellicotSeries;
    Series baselineSeries;
    for (int i = 1; i <= runs; ++i) {
        // Alternating the order, so neither program always follows the other's exit.
        const bool vellicotFirst = i % 2 == 0;
        for (int step = 0; step < 2; ++step) {
            const bool isVellicot = (step == 0) == vellicotFirst;
            const Program& program = isVellicot ? vellicot : baseline;
            std::wstring runName =
                std::wstring(isVellicot ? L"startup-" : L"startup-baseline-") + std::to_wstring(i);
            if (!Record(isVellicot ? vellicotSeries : baselineSeries, TimeOneStart(program, runName),
                        program.title, i))
                return 1;
        }
    }
    Report("Vellicot.exe", vellicotSeries);
    Report("minimal Win32 window (baseline)", baselineSeries);
    double ratio = Summarise(vellicotSeries.complete).median / Summarise(baselineSeries.complete).median;
    Print("start-up ratio (median first complete paint, Vellicot / baseline): %.2fx (aim: at most 1.3x) %s\n",
          ratio, ratio <= 1.3 ? "met" : "NOT met");

    if (!PeakAfterPicks(vellicot)) {
        Print("FAILED: the run with picks\n");
        return 1;
    }
    Print("Vellicot.exe size: %lld bytes = %s (aim: at most 1.50 MiB) %s; baseline exe %lld bytes\n", exeSize,
          MiB(static_cast<double>(exeSize)).c_str(), exeSize <= 1.5 * kMiB ? "met" : "NOT met", baselineSize);
    return 0;
}
