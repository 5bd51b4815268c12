// Start-up of the real Vellicot.exe against a minimal Win32 program, both run alternately from
// fresh folders: the time from process creation to the main window's first complete paint on
// screen, where that time goes, the peak working set after start-up and after a few picks, and the
// exe's size.
//
// Where the time goes is watched from outside, polling every half millisecond or so from the moment
// before CreateProcessW: CreateProcessW's return; the program's first line (the first thing each
// program does is create a named mutex, which the driver tries to open); the first top-level window
// of the process, hidden ones included; each of TForm1, TForm2 and TForm3 existing (hidden too);
// TForm1 visible; and the first complete paint.
//
// "First complete paint" is the moment the window's client area on screen first shows the picture
// it then keeps: the driver grabs the client area every millisecond or so from the moment the
// window is visible until the picture has not changed for a second, and takes the start of the
// grab that first showed the final picture. For Vellicot that picture holds the map, the sixteen
// tree buttons, the lines and every other control; for the baseline it is its one-colour
// background. Every time is that of the start of the poll or grab that first saw the step.
//
// vellicot_startup_bench.exe [--runs N] [--vellicot PATH] [--baseline PATH]
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "bench/BenchDriver.h"
#include "bench/VellicotUi.h"

namespace bench {
namespace {

constexpr double kQuietMs = 1000;
constexpr double kTimeoutMs = 30000;
constexpr double kPollMs = 0.5;
constexpr double kMiB = 1024.0 * 1024.0;

// The steps of a start-up, in the order a program is expected to take them.
enum Step : int {
    kCreated,      // CreateProcessW returned
    kFirstLine,    // the program's named mutex exists
    kFirstWindow,  // some top-level window of the process exists
    kMainExists,   // the main window's class
    kPickerExists,
    kSettingsExists,
    kMainVisible,
    kComplete,  // the first complete paint
    kSteps
};

// The names of the steps that name no window class.
constexpr const char* kStepNames[kSteps] = {
    "CreateProcessW returned", "first line (its named mutex)", "first window of the process", "", "", "", "",
    "first complete paint",
};

struct Program {
    const char* title;
    std::wstring exe;
    const wchar_t* mutexName;  // created on the program's first line
    // The main window's class, then any other windows whose creation is a step (null when none).
    const wchar_t* classes[3];
};

struct StartupRun {
    bool ok = false;
    double at[kSteps];            // ms from just before CreateProcessW; -1 when not seen
    double peakMiB[kSteps] = {};  // the peak working set so far when the step was seen
    std::wstring firstWindowClass;
    UINT dpi = 0;  // the main window's, and its client area
    SIZE client{};
    double pollPeriod = 0;  // of the polls before the window was visible
    double grabPeriod = 0;  // of the grabs after
    std::size_t peakWorkingSet = 0;
    // CPU time (user and system) once the picture has settled: the program's, and the Wine server's
    // during its start-up; ms in steps of 10, less changed by other work on the machine than the times.
    double programCpuMs = -1;
    double serverCpuMs = -1;

    StartupRun() { std::fill(std::begin(at), std::end(at), -1.0); }
};

// Looks, once, for the steps not yet seen.
class StepWatcher {
public:
    StepWatcher(const Program& program, const Process& process, StartupRun& run)
        : program_(program), process_(process), run_(run) {}

    void Poll() {
        const double now = NowMs() - process_.StartedAt();
        if (run_.at[kFirstLine] < 0) {
            // Closed at once: a handle kept open would keep the mutex alive after the program ends,
            // and its next start would take itself for a second copy.
            HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, program_.mutexName);
            if (mutex != nullptr) {
                CloseHandle(mutex);
                Mark(kFirstLine, now);
            }
        }
        if (AllSeen())
            return;
        now_ = now;
        EnumWindows(&Visit, reinterpret_cast<LPARAM>(this));
    }

    bool AllSeen() const {
        for (int step = kFirstWindow; step <= kMainVisible; ++step) {
            if (Expected(step) && run_.at[step] < 0)
                return false;
        }
        return true;
    }
    bool MainVisible() const { return run_.at[kMainVisible] >= 0; }
    HWND Main() const { return main_; }

private:
    bool Expected(int step) const {
        return step < kMainExists || step == kMainVisible || program_.classes[step - kMainExists] != nullptr;
    }

    void Mark(int step, double now) {
        run_.at[step] = now;
        run_.peakMiB[step] = static_cast<double>(process_.PeakWorkingSet()) / kMiB;
    }

    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        auto& watcher = *reinterpret_cast<StepWatcher*>(self);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == watcher.process_.Id())
            watcher.Seen(window);
        return TRUE;
    }

    void Seen(HWND window) {
        wchar_t name[64];
        GetClassNameW(window, name, 64);
        if (run_.at[kFirstWindow] < 0) {
            Mark(kFirstWindow, now_);
            run_.firstWindowClass = name;
        }
        for (int i = 0; i < 3; ++i) {
            const wchar_t* wanted = program_.classes[i];
            if (wanted == nullptr || lstrcmpW(name, wanted) != 0)
                continue;
            if (run_.at[kMainExists + i] < 0)
                Mark(kMainExists + i, now_);
            if (i == 0) {
                main_ = window;
                if (run_.at[kMainVisible] < 0 && IsWindowVisible(window))
                    Mark(kMainVisible, now_);
            }
        }
    }

    const Program& program_;
    const Process& process_;
    StartupRun& run_;
    double now_ = 0;
    HWND main_ = nullptr;
};

// Starts the program from a fresh folder and watches its steps until its picture settles. The
// process is left running for the caller to work or close.
StartupRun StartAndWatch(const Program& program, const std::wstring& runName, Process& process,
                         HWND& window) {
    StartupRun run;
    std::wstring copy = FreshCopy(program.exe, runName);
    const int server = WineserverUnixPid();
    const double serverBefore = UnixCpuSeconds(server);
    if (copy.empty() || !process.Start(copy))
        return run;
    run.at[kCreated] = process.CreatedAt() - process.StartedAt();
    run.peakMiB[kCreated] = static_cast<double>(process.PeakWorkingSet()) / kMiB;
    StepWatcher watcher(program, process, run);
    Pacer pacer(kPollMs);
    int polls = 0;
    const double firstPoll = NowMs();
    for (;;) {
        watcher.Poll();
        ++polls;
        if (watcher.MainVisible())
            break;
        if (NowMs() - process.StartedAt() > kTimeoutMs)
            return run;
        pacer.Wait();
    }
    run.pollPeriod = polls > 1 ? (NowMs() - firstPoll) / polls : 0;
    window = watcher.Main();
    run.dpi = static_cast<UINT>(ShownDpi(window));
    RECT client;
    GetClientRect(window, &client);
    run.client = {client.right, client.bottom};
    // An all-black picture to begin with: neither program's settled picture is all black. Windows
    // still missing (a program may create some after showing the first) are looked for between
    // the grabs.
    ScreenArea picture(ClientRectOnScreen(window));
    Watch watch = WatchUntilSettled(picture, process.StartedAt(), kQuietMs, kTimeoutMs, kPollMs, [&] {
        if (!watcher.AllSeen())
            watcher.Poll();
    });
    if (!watch.settled || watch.lastChange < 0)
        return run;
    run.at[kComplete] = watch.lastChange;
    run.grabPeriod = watch.pollPeriod;
    const double programCpu = UnixCpuSeconds(UnixPidOf(copy));
    const double serverAfter = UnixCpuSeconds(server);
    if (programCpu >= 0)
        run.programCpuMs = programCpu * 1000;
    if (serverBefore >= 0 && serverAfter >= 0)
        run.serverCpuMs = (serverAfter - serverBefore) * 1000;
    run.peakWorkingSet = process.PeakWorkingSet();
    run.peakMiB[kComplete] = static_cast<double>(run.peakWorkingSet) / kMiB;
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
    std::vector<StartupRun> runs;

    std::vector<double> Of(int step) const {
        std::vector<double> sample;
        for (const StartupRun& run : runs) {
            if (run.at[step] >= 0)
                sample.push_back(run.at[step]);
        }
        return sample;
    }
    // field: &StartupRun::programCpuMs or &StartupRun::serverCpuMs.
    template <class Field>
    std::vector<double> CpuMs(Field field) const {
        std::vector<double> sample;
        for (const StartupRun& run : runs) {
            const double ms = std::invoke(field, run);
            if (ms >= 0)
                sample.push_back(ms);
        }
        return sample;
    }
    std::vector<double> PeakWorkingSets() const {
        std::vector<double> sample;
        for (const StartupRun& run : runs)
            sample.push_back(static_cast<double>(run.peakWorkingSet) / kMiB);
        return sample;
    }
    double Median(int step) const { return Summarise(Of(step)).median; }
};

std::string Narrow(const wchar_t* text) {
    char narrow[128];
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// A step's name, with the window class it stands for.
std::string Label(const Program& program, int step) {
    if (step >= kMainExists && step <= kSettingsExists)
        return Narrow(program.classes[step - kMainExists]) + " exists";
    if (step == kMainVisible)
        return Narrow(program.classes[0]) + " visible";
    return kStepNames[step];
}

// The steps in the order they were seen (by median), each with the median time since the step
// before it in the same run.
void ReportBreakdown(const Program& program, const Series& series) {
    std::vector<int> steps;
    for (int step = 0; step < kSteps; ++step) {
        if (!series.Of(step).empty())
            steps.push_back(step);
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [&](int a, int b) { return series.Median(a) < series.Median(b); });
    Print(
        "%s: where start-up goes (ms from just before CreateProcessW, median; the median step from the line "
        "above in the same run; the median peak working set so far)\n",
        program.title);
    int previous = -1;
    for (int step : steps) {
        std::vector<double> gaps, peaks;
        for (const StartupRun& run : series.runs) {
            if (run.at[step] < 0)
                continue;
            peaks.push_back(run.peakMiB[step]);
            if (previous < 0 || run.at[previous] >= 0)
                gaps.push_back(run.at[step] - (previous < 0 ? 0 : run.at[previous]));
        }
        std::string label = Label(program, step);
        if (step == kFirstWindow && !series.runs.empty())
            label += " (" + Narrow(series.runs.front().firstWindowClass.c_str()) + ")";
        const std::size_t seen = series.Of(step).size();
        Print("  %-46s %8.1f  +%7.1f  %6.1f MiB%s\n", label.c_str(), series.Median(step),
              Summarise(gaps).median, Summarise(peaks).median,
              seen < series.runs.size() ? " (not seen in every run)" : "");
        previous = step;
    }
    for (int step = kMainExists; step <= kSettingsExists; ++step) {
        if (program.classes[step - kMainExists] != nullptr && series.Of(step).empty())
            Print("  %-46s not seen before the picture settled\n", Label(program, step).c_str());
    }
}

void Report(const Program& program, const Series& series) {
    std::vector<double> polls, grabs;
    for (const StartupRun& run : series.runs) {
        polls.push_back(run.pollPeriod);
        grabs.push_back(run.grabPeriod);
    }
    const StartupRun& first = series.runs.front();
    Print("%s (window at %u DPI, client area %ld x %ld)\n", program.title, first.dpi, first.client.cx,
          first.client.cy);
    Print("  window visible       %s\n", Describe(Summarise(series.Of(kMainVisible))).c_str());
    Print("  first complete paint %s\n", Describe(Summarise(series.Of(kComplete))).c_str());
    Print("  peak working set     %s\n", Describe(Summarise(series.PeakWorkingSets()), "MiB").c_str());
    Print("  CPU, program         %s\n",
          Describe(Summarise(series.CpuMs(&StartupRun::programCpuMs))).c_str());
    Print("  CPU, Wine server     %s\n", Describe(Summarise(series.CpuMs(&StartupRun::serverCpuMs))).c_str());
    Print(
        "  poll period %.2f ms before the window showed, grab period %.2f ms after (the resolution of "
        "the times)\n",
        Summarise(polls).median, Summarise(grabs).median);
}

bool Record(Series& series, const StartupRun& run, const char* title, int index) {
    if (!run.ok) {
        Print("FAILED: %s run %d did not show a settled window\n", title, index);
        return false;
    }
    Print("  run %2d %-9s first line %6.1f ms, visible %7.1f ms, complete %7.1f ms, peak working set %s\n",
          index, title, run.at[kFirstLine], run.at[kMainVisible], run.at[kComplete],
          MiB(static_cast<double>(run.peakWorkingSet)).c_str());
    series.runs.push_back(run);
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
    BeDpiAware();
    int runs = 10;
    std::wstring folder = DriverFolder();
    Program vellicot{
        "Vellicot", folder + L"\\..\\Vellicot.exe", L"Vellicot", {L"TForm1", L"TForm2", L"TForm3"}};
    Program baseline{"baseline",
                     folder + L"\\vellicot_minimal_window.exe",
                     L"VellicotBench.MinimalWindow",
                     {L"MinimalWindow", nullptr, nullptr}};
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
    Report(vellicot, vellicotSeries);
    Report(baseline, baselineSeries);
    ReportBreakdown(vellicot, vellicotSeries);
    ReportBreakdown(baseline, baselineSeries);

    const double complete = vellicotSeries.Median(kComplete);
    const double baselineComplete = baselineSeries.Median(kComplete);
    const double ratio = complete / baselineComplete;
    Print(
        "start-up ratio (median first complete paint, Vellicot / baseline): %.2fx (goal: at most 1.8x) %s\n",
        ratio, ratio <= 1.8 ? "met" : "NOT met");
    PrintRow("start-up to first complete paint", Format("%.1f ms", complete),
             Format("%.1f ms minimal window", baselineComplete), Format("%.2fx", ratio), "<= 1.8x",
             ratio <= 1.8);
    // The CPU both spent, the program's and the Wine server's for it: the start-up's work.
    auto cpu = [](const Series& series) {
        return Summarise(series.CpuMs(&StartupRun::programCpuMs)).median +
               Summarise(series.CpuMs(&StartupRun::serverCpuMs)).median;
    };
    const double vellicotCpu = cpu(vellicotSeries), baselineCpu = cpu(baselineSeries);
    PrintRow("CPU of the start-up (program + Wine server)", Format("%.0f ms", vellicotCpu),
             Format("%.0f ms minimal window", baselineCpu), Format("%.2fx", vellicotCpu / baselineCpu), "",
             std::nullopt);
    const double peak = Summarise(vellicotSeries.PeakWorkingSets()).median;
    const double baselinePeak = Summarise(baselineSeries.PeakWorkingSets()).median;
    PrintRow("peak working set after start-up", Format("%.1f MiB", peak),
             Format("%.1f MiB minimal window", baselinePeak), Format("%.2fx", peak / baselinePeak), "<= 1.5x",
             peak / baselinePeak <= 1.5);

    if (!PeakAfterPicks(vellicot)) {
        Print("FAILED: the run with picks\n");
        return 1;
    }
    Print("Vellicot.exe size: %lld bytes = %s (aim: at most 1.50 MiB) %s; baseline exe %lld bytes\n", exeSize,
          MiB(static_cast<double>(exeSize)).c_str(), exeSize <= 1.5 * kMiB ? "met" : "NOT met", baselineSize);
    return 0;
}
