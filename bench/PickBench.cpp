// Pick to repaint: the time from the click on an entry button in Vellicot's picker to the last
// repaint of the main window, against plain BUTTON controls repainted the same number of times,
// pick by pick in the same run; and the repaint of all sixteen tree buttons and the lines against
// seventeen plain BUTTON repaints.
//
// 1. Click to last repaint, watched the same way for both programs from outside: the driver
//    presses and releases the mouse button with SendInput, then grabs the window's client area on
//    screen every millisecond or so until the picture has not changed for 300 ms. The last repaint
//    is the start of the grab that first showed the final picture, so the figure takes in the
//    input's way to the program, its work, and Wine's copy of the window to the screen. After a
//    pick Vellicot repaints its main window once (the map and the lines) and each tree button
//    that was given a changed property, whether or not its face ends up different; the trees the
//    picker uncovers are not repainted, since the window keeps their pixels (checked once with a
//    build that logged every WM_PAINT). The driver counts the tree buttons that showed an update
//    region (GetUpdateRect, asked after every grab) or whose pixels changed, and the baseline
//    program then repaints that many plain BUTTONs with InvalidateRect and UpdateWindow in answer
//    to its own click.
// 2. Sixteen tree buttons and the lines: the driver repaints the main window's map area and then
//    each tree button with RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW), which returns once the
//    window has painted, and times the seventeen calls; the same for the baseline's seventeen
//    BUTTONs. Both go through the same cross-process calls. (With RDW_ERASE as well, Wine paints a
//    tree button twice for one such call, so the erase is left out on both sides.)
//
// vellicot_pick_bench.exe [--rounds N] [--repaints N] [--vellicot PATH] [--baseline PATH]
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchDriver.h"
#include "bench/VellicotUi.h"
#include "windows/ControlIds.h"
#include "board/MainLayout.h"

namespace bench {
namespace {

constexpr double kQuietMs = 300;
constexpr double kTimeoutMs = 5000;
constexpr UINT kSetRepaintCount = WM_APP;
constexpr UINT kLastRepaintMicroseconds = WM_APP + 1;
constexpr int kBaselineEntryId = 301;
constexpr int kBaselineTreeId = 100;  // the baseline's button i (0..15) has id 100 + i
constexpr int kTrees = 16;
constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_UPDATENOW;

struct PickSample {
    bool ok = false;
    const char* failure = "";
    double firstChange = 0;
    double lastChange = 0;
    double pollPeriod = 0;
    int changed = 0;    // tree buttons whose face changed on screen
    int repainted = 0;  // those and the tree buttons seen waiting for a repaint
};

struct BaselineSample {
    bool ok = false;
    double lastChange = 0;
    double inProcess = 0;  // the InvalidateRect + UpdateWindow loop alone
};

// A child's rectangle in its parent's client coordinates.
RECT InParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

PickSample TimedPick(const Process& app, HWND main, int tree, int entry) {
    PickSample sample;
    RECT client = ClientRectOnScreen(main);
    ScreenArea beforeOpen(client);
    beforeOpen.Grab();
    HWND picker = OpenPicker(app, main, tree);
    if (picker == nullptr) {
        sample.failure = "the picker did not show";
        return sample;
    }
    POINT at = CentreOnScreen(EntryButton(picker, entry));
    RestAt(at);
    ScreenArea picture(client);
    picture.Grab();
    HWND trees[kTrees + 1] = {};
    for (int t = 1; t <= kTrees; ++t)
        trees[t] = TreeButton(main, t);
    // A tree button with something to repaint has an update region until its WM_PAINT; the
    // program sets them in the click's handler and paints them only after the picker has gone.
    bool invalid[kTrees + 1] = {};
    auto lookForUpdateRegions = [&] {
        RECT update;
        for (int t = 1; t <= kTrees; ++t)
            invalid[t] = invalid[t] || GetUpdateRect(trees[t], &update, FALSE);
    };
    const double click = NowMs();
    PressAndRelease(at);
    Watch watch = WatchUntilSettled(picture, click, kQuietMs, kTimeoutMs, 1, lookForUpdateRegions);
    if (!watch.settled || watch.lastChange < 0 || IsWindowVisible(picker)) {
        sample.failure = "the picker did not go, or the main window did not settle";
        return sample;
    }
    bool pickedTreeChanged = false;
    for (int t = 1; t <= kTrees; ++t) {
        bool changed = picture.DiffersIn(beforeOpen, InParent(trees[t]));
        sample.changed += changed;
        sample.repainted += changed || invalid[t];
        pickedTreeChanged |= t == tree && changed;
    }
    if (!pickedTreeChanged) {
        sample.failure = "the picked tree's face did not change";
        return sample;
    }
    sample.ok = true;
    sample.firstChange = watch.firstChange;
    sample.lastChange = watch.lastChange;
    sample.pollPeriod = watch.pollPeriod;
    return sample;
}

BaselineSample TimedBaselineClick(HWND window, int repaintCount) {
    BaselineSample sample;
    SendMessageW(window, kSetRepaintCount, static_cast<WPARAM>(repaintCount), 0);
    POINT at = CentreOnScreen(GetDlgItem(window, kBaselineEntryId));
    RestAt(at);
    ScreenArea picture(ClientRectOnScreen(window));
    picture.Grab();
    const double click = NowMs();
    PressAndRelease(at);
    Watch watch = WatchUntilSettled(picture, click, kQuietMs, kTimeoutMs);
    LRESULT inProcess = SendMessageW(window, kLastRepaintMicroseconds, 0, 0);
    if (!watch.settled || watch.lastChange < 0 || inProcess < 0)
        return sample;
    sample.ok = true;
    sample.lastChange = watch.lastChange;
    sample.inProcess = static_cast<double>(inProcess) / 1000.0;
    return sample;
}

// The map area of the main window (the map and the lines, without its children), then the
// sixteen tree buttons, each painted before its call returns.
double TimedFullRepaint(HWND main) {
    namespace layout = vellicot::layout;
    RECT map{layout::kMapLeft, layout::kMapTop, layout::kMapLeft + layout::kMapSize,
             layout::kMapTop + layout::kMapSize};
    const double start = NowMs();
    RedrawWindow(main, &map, nullptr, kRepaintNow | RDW_NOCHILDREN);
    for (int t = 1; t <= kTrees; ++t)
        RedrawWindow(TreeButton(main, t), nullptr, nullptr, kRepaintNow);
    return NowMs() - start;
}

double TimedBaselineRepaint(HWND window) {
    const double start = NowMs();
    for (int i = 0; i < kTrees; ++i)
        RedrawWindow(GetDlgItem(window, kBaselineTreeId + i), nullptr, nullptr, kRepaintNow);
    RedrawWindow(GetDlgItem(window, kBaselineEntryId), nullptr, nullptr, kRepaintNow);
    return NowMs() - start;
}

// Starts a program from a fresh folder and waits until its window has settled on screen.
HWND StartSettled(Process& process, const std::wstring& exe, const wchar_t* runName,
                  const wchar_t* className) {
    std::wstring copy = FreshCopy(exe, runName);
    if (copy.empty() || !process.Start(copy))
        return nullptr;
    HWND window = nullptr;
    while ((window = process.FindTopLevel(className)) == nullptr) {
        if (NowMs() - process.StartedAt() > 30000)
            return nullptr;
        Sleep(5);
    }
    WaitUntilSettled(window, 1000, 30000);
    return window;
}

bool ClearPicks(HWND main) {
    POINT at = CentreOnScreen(GetDlgItem(main, vellicot::ids::kBtnBtnClear));
    RestAt(at);
    PressAndRelease(at);
    return WaitUntilSettled(main);
}

// The entry a round gives a tree: virtues on trees 1..8 and their vices on 9..16 (each pick from
// the ninth on draws a pair line), or the virtues 1..8 twice over (each pick from the ninth on
// turns two trees red).
int EntryFor(int round, int tree) {
    return round % 2 == 0 ? tree : (tree - 1) % 8 + 1;
}

}  // namespace
}  // namespace bench

int wmain(int argc, wchar_t** argv) {
    using namespace bench;
    int rounds = 2;
    int repaints = 20;
    std::wstring folder = DriverFolder();
    std::wstring vellicotExe = folder + L"\\..\\Vellicot.exe";
    std::wstring baselineExe = folder + L"\\vellicot_plain_buttons.exe";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--rounds") {
            rounds = std::max(1, _wtoi(argv[i + 1]));
        } else if (option == L"--repaints") {
            repaints = std::max(1, _wtoi(argv[i + 1]));
        } else if (option == L"--vellicot") {
            vellicotExe = argv[i + 1];
        } else if (option == L"--baseline") {
            baselineExe = argv[i + 1];
        }
    }

    MoveTo(POINT{2, 2});
    Process baseline;
    HWND buttons = StartSettled(baseline, baselineExe, L"pick-baseline", L"PlainButtons");
    Process app;
    HWND main = StartSettled(app, vellicotExe, L"pick", L"TForm1");
    if (buttons == nullptr || main == nullptr) {
        Print("FAILED: Vellicot or the baseline did not start\n");
        return 1;
    }

    Print("Vellicot after start-up: %s\n", app.MemoryFigures().c_str());
    Print(
        "Pick to repaint under Wine: %d rounds of 16 picks, each followed by a click on the plain buttons "
        "that repaints as many\n",
        rounds);
    // One pick and one baseline click first, uncounted: the first use of the picker and of the
    // buttons' fonts loads what later ones find ready.
    PickSample warmUp = TimedPick(app, main, 1, 1);
    if (!warmUp.ok) {
        Print("FAILED: the warm-up pick: %s\n", warmUp.failure);
        return 1;
    }
    if (!TimedBaselineClick(buttons, 1).ok) {
        Print("FAILED: the warm-up click on the plain buttons did not show\n");
        return 1;
    }
    if (!ClearPicks(main)) {
        Print("FAILED: clearing the picks\n");
        return 1;
    }
    std::vector<double> firstChange, lastChange, pollPeriod, repainted, changed, plainLast, plainInProcess;
    std::vector<double> fullRepaint, plainFullRepaint;
    for (int round = 0; round < rounds; ++round) {
        for (int tree = 1; tree <= kTrees; ++tree) {
            const int entry = EntryFor(round, tree);
            PickSample pick = TimedPick(app, main, tree, entry);
            if (!pick.ok) {
                Print("FAILED: the pick of entry %d for tree %d: %s\n", entry, tree, pick.failure);
                return 1;
            }
            BaselineSample button = TimedBaselineClick(buttons, pick.repainted);
            if (!button.ok) {
                Print("FAILED: the baseline click did not show\n");
                return 1;
            }
            Print(
                "  tree %2d entry %2d: Vellicot first change %5.1f ms, last repaint %5.1f ms, %2d trees "
                "repainted (%d changed); as many BUTTONs: last repaint %5.1f ms (in process %.2f ms)\n",
                tree, entry, pick.firstChange, pick.lastChange, pick.repainted, pick.changed,
                button.lastChange, button.inProcess);
            firstChange.push_back(pick.firstChange);
            lastChange.push_back(pick.lastChange);
            pollPeriod.push_back(pick.pollPeriod);
            repainted.push_back(pick.repainted);
            changed.push_back(pick.changed);
            plainLast.push_back(button.lastChange);
            plainInProcess.push_back(button.inProcess);
        }
        Print("Vellicot after the round's picks: %s\n", app.MemoryFigures().c_str());
        // With the round's picks and lines on the board, alternating the two programs.
        for (int i = 0; i < repaints; ++i) {
            fullRepaint.push_back(TimedFullRepaint(main));
            plainFullRepaint.push_back(TimedBaselineRepaint(buttons));
        }
        if (!ClearPicks(main)) {
            Print("FAILED: clearing the picks\n");
            return 1;
        }
        Print("Vellicot after round %d: %s\n", round + 1, app.MemoryFigures().c_str());
    }

    Spread vellicotLast = Summarise(lastChange);
    Spread baselineLast = Summarise(plainLast);
    Spread trees = Summarise(repainted);
    Print("1. click on an entry button to the last repaint, on screen\n");
    Print("  Vellicot, first change           %s\n", Describe(Summarise(firstChange)).c_str());
    Print("  Vellicot, last repaint           %s\n", Describe(vellicotLast).c_str());
    Print(
        "  tree buttons repainted per pick: median %.0f, range %.0f..%.0f, of which changed on screen: "
        "median "
        "%.0f (besides the main window's map)\n",
        trees.median, trees.min, trees.max, Summarise(changed).median);
    Print("  as many plain BUTTONs, last repaint %s\n", Describe(baselineLast).c_str());
    Print("  their InvalidateRect + UpdateWindow %s (in process)\n",
          Describe(Summarise(plainInProcess)).c_str());
    Print("  grab period %.2f ms (the resolution of the times on screen)\n", Summarise(pollPeriod).median);
    Print("  ratio (median last repaint, Vellicot / plain BUTTONs): %.2fx\n",
          vellicotLast.median / baselineLast.median);
    Print("  Vellicot within a 16 ms frame: %s (median %.1f ms)\n",
          vellicotLast.median <= 16.0 ? "met" : "NOT met", vellicotLast.median);
    Spread full = Summarise(fullRepaint);
    Spread plainFull = Summarise(plainFullRepaint);
    Print("2. the sixteen tree buttons and the lines repainted (RedrawWindow from the driver)\n");
    Print("  Vellicot, map area + 16 tree buttons %s\n", Describe(full).c_str());
    Print("  17 plain BUTTONs                     %s\n", Describe(plainFull).c_str());
    Print("  ratio (median): %.2fx; Vellicot within a 16 ms frame: %s\n", full.median / plainFull.median,
          full.median <= 16.0 ? "met" : "NOT met");
    Print("Vellicot after %zu picks and %zu forced repaints: %s\n", lastChange.size() + 1, fullRepaint.size(),
          app.MemoryFigures().c_str());
    if (app.Close(main) != 0 || baseline.Close(buttons) != 0) {
        Print("FAILED: a program did not close cleanly\n");
        return 1;
    }
    return 0;
}
