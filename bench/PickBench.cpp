// Pick to repaint: the time from the click on an entry button in Vellicot's picker to the last
// repaint of the main window, against plain BUTTON controls repainted the same number of times,
// pick by pick in the same run; and full repaints of the real main window against the same on the
// window of plain BUTTONs. Both programs lay themselves out at the display's DPI.
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
// 2. Full repaints: the driver invalidates windows (RedrawWindow with RDW_INVALIDATE) and times
//    until every one of them has painted, as the program's own message loop paints them, with what
//    the real windows paint: the main window's own paint (white, the map composed with the pair
//    lines, the time label, through its back buffer) and every glass button's paint over it (each
//    asks the main window to paint what lies beneath it first). A window's paint has begun when its
//    update region has gone (GetUpdateRect, polled every 0.2 ms or so from the window to be painted
//    last back); the last one has ended when the program has answered a message sent after it.
//    a. The map and the sixteen tree buttons: the map's area of the main window, without its
//       children, and each tree button.
//    b. The whole main window: RDW_INVALIDATE | RDW_ALLCHILDREN.
//    Against each, the whole baseline window with RDW_ALLCHILDREN (its seventeen BUTTONs). The
//    erase is left out on both sides (Vellicot's windows paint every pixel themselves).
//
// vellicot_pick_bench.exe [--rounds N] [--repaints N] [--vellicot PATH] [--baseline PATH]
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchDriver.h"
#include "bench/VellicotUi.h"
#include "core/MainLayout.h"
#include "core/Scale.h"
#include "windows/ControlIds.h"

namespace bench {
namespace {

constexpr double kQuietMs = 300;
constexpr double kTimeoutMs = 5000;
constexpr UINT kSetRepaintCount = WM_APP;
constexpr UINT kLastRepaintMicroseconds = WM_APP + 1;
constexpr int kBaselineEntryId = 301;
constexpr int kTrees = 16;

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

// How many of the window and its children still have something to paint.
int StillToPaint(HWND window) {
    int count = GetUpdateRect(window, nullptr, FALSE) ? 1 : 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        count += StillToPaint(child);
    return count;
}

int CountChildren(HWND window) {
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

// The visible windows of a tree in the order Wine's message loop paints them: a window before its
// children, and children from the top of the z-order down.
void CollectInPaintOrder(HWND window, std::vector<HWND>& into) {
    if (!IsWindowVisible(window))
        return;
    into.push_back(window);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        CollectInPaintOrder(child, into);
}

// The time from start until every window of the tree has painted, or -1 after the time-out. A
// window's update region goes at the start of its paint (BeginPaint), so once the last of them
// has gone the driver sends the top window a message, which the program handles only when the paint
// in hand has ended. The windows are watched from the last to be painted back, so a poll mostly
// asks about one window.
double WaitUntilPainted(HWND top, double start, double timeoutMs = kTimeoutMs) {
    std::vector<HWND> tree;
    CollectInPaintOrder(top, tree);
    std::vector<HWND> waiting = tree;
    Pacer pacer(0.2);
    for (;;) {
        while (!waiting.empty() && !GetUpdateRect(waiting.back(), nullptr, FALSE))
            waiting.pop_back();
        if (waiting.empty()) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs), &result))
                return -1;
            const double end = NowMs();
            // A paint that gave another window something to paint is not the end.
            if (StillToPaint(top) == 0)
                return end - start;
            waiting = tree;
        }
        if (NowMs() - start > timeoutMs)
            return -1;
        pacer.Wait();
    }
}

// The main window's map (with the lines) and its sixteen tree buttons invalidated, until all have
// painted.
double TimedMapRepaint(HWND main) {
    const RECT map = [&] {
        namespace layout = vellicot::layout;
        const vellicot::Box box = vellicot::ScaleToDpi(
            vellicot::Box{layout::kMapLeft, layout::kMapTop, layout::kMapSize, layout::kMapSize},
            ShownDpi(main));
        return RECT{box.left, box.top, box.Right(), box.Bottom()};
    }();
    const double start = NowMs();
    RedrawWindow(main, &map, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    for (int t = 1; t <= kTrees; ++t)
        RedrawWindow(TreeButton(main, t), nullptr, nullptr, RDW_INVALIDATE);
    return WaitUntilPainted(main, start);
}

// The whole window and every child invalidated, until all have painted.
double TimedWholeRepaint(HWND window) {
    const double start = NowMs();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return WaitUntilPainted(window, start);
}

// A window and its children at the display's DPI, as the driver sees them.
void DescribeWindow(const char* title, HWND window) {
    const DPI_AWARENESS awareness = GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window));
    const char* aware = awareness == DPI_AWARENESS_PER_MONITOR_AWARE ? "per-monitor aware"
                        : awareness == DPI_AWARENESS_SYSTEM_AWARE    ? "system aware"
                        : awareness == DPI_AWARENESS_UNAWARE         ? "unaware"
                                                                     : "awareness unknown";
    RECT client;
    GetClientRect(window, &client);
    Print("%s: %d DPI (%s), client area %ld x %ld, %d child windows\n", title, ShownDpi(window), aware,
          client.right, client.bottom, CountChildren(window));
}

// Moves Vellicot's main window to the right of the work area when it would overlap the baseline's
// window (which stands at the left): at 200 % the two do not fit side by side where they open.
void MoveApart(HWND main, HWND buttons) {
    RECT a, b, overlap;
    GetWindowRect(main, &a);
    GetWindowRect(buttons, &b);
    if (!IntersectRect(&overlap, &a, &b))
        return;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(main, nullptr, work.right - (a.right - a.left), work.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntilSettled(main);
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
    BeDpiAware();
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
    MoveApart(main, buttons);
    DescribeWindow("Vellicot's main window", main);
    DescribeWindow("the plain buttons' window", buttons);

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
    std::vector<double> mapRepaint, wholeRepaint, plainRepaint;
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
        // With the round's picks and lines on the board, alternating the programs; the first of
        // each kind uncounted.
        for (int i = 0; i <= repaints; ++i) {
            const double map = TimedMapRepaint(main);
            const double whole = TimedWholeRepaint(main);
            const double plain = TimedWholeRepaint(buttons);
            if (map < 0 || whole < 0 || plain < 0) {
                Print("FAILED: a full repaint did not end within 5 s\n");
                return 1;
            }
            if (i == 0)
                continue;
            mapRepaint.push_back(map);
            wholeRepaint.push_back(whole);
            plainRepaint.push_back(plain);
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
    const double pickRatio = vellicotLast.median / baselineLast.median;
    Print("  ratio (median last repaint, Vellicot / plain BUTTONs): %.2fx (goal: at most 1.5x) %s\n",
          pickRatio, pickRatio <= 1.5 ? "met" : "NOT met");
    Print("  Vellicot within a 16 ms frame: %s (median %.1f ms)\n",
          vellicotLast.median <= 16.0 ? "yes" : "no", vellicotLast.median);
    Spread map = Summarise(mapRepaint);
    Spread whole = Summarise(wholeRepaint);
    Spread plain = Summarise(plainRepaint);
    Print(
        "2. full repaints of the real main window, invalidated from the driver, until every window has "
        "painted\n");
    Print("  Vellicot, the map + 16 tree buttons     %s\n", Describe(map).c_str());
    Print("  Vellicot, the whole window (%2d children) %s\n", CountChildren(main), Describe(whole).c_str());
    Print("  the plain buttons' window (17 BUTTONs)  %s\n", Describe(plain).c_str());
    const double mapRatio = map.median / plain.median;
    const double wholeRatio = whole.median / plain.median;
    const bool mapMet = mapRatio <= 1.5 && map.median < 16.0;
    const bool wholeMet = wholeRatio <= 2.0;
    Print(
        "  ratio (median), map + 16 tree buttons: %.2fx (goal: at most 1.5x and under 16 ms) %s; whole "
        "window: "
        "%.2fx (goal: at most 2x) %s\n",
        mapRatio, mapMet ? "met" : "NOT met", wholeRatio, wholeMet ? "met" : "NOT met");
    Print("Vellicot after %zu picks and %zu forced repaints of each kind: %s\n", lastChange.size() + 1,
          mapRepaint.size() + 1, app.MemoryFigures().c_str());
    const int dpi = ShownDpi(main);
    PrintRow(Format("click on an entry to last repaint (%d DPI)", dpi).c_str(),
             Format("%.1f ms", vellicotLast.median),
             Format("%.1f ms as many plain BUTTONs", baselineLast.median), Format("%.2fx", pickRatio),
             "<= 1.5x", pickRatio <= 1.5);
    PrintRow(Format("map + 16 tree buttons repainted (%d DPI)", dpi).c_str(), Format("%.1f ms", map.median),
             Format("%.1f ms 17 BUTTONs", plain.median), Format("%.2fx", mapRatio), "<= 1.5x, and < 16 ms",
             mapMet);
    PrintRow(Format("whole main window repainted (%d DPI)", dpi).c_str(), Format("%.1f ms", whole.median),
             Format("%.1f ms 17 BUTTONs", plain.median), Format("%.2fx", wholeRatio), "<= 2x", wholeMet);
    if (app.Close(main) != 0 || baseline.Close(buttons) != 0) {
        Print("FAILED: a program did not close cleanly\n");
        return 1;
    }
    return 0;
}
