// Nothing running at rest: the CPU time Vellicot and the wineserver use while the pointer rests on
// a tree button, against the same span with the pointer away from every Vellicot window, both in
// one run of the program. The times come from Linux (/proc), since Wine reports no CPU time for
// another process; the wineserver's figure takes in every request of every program of the prefix
// (the driver only sleeps meanwhile), which is why it is set against its own figure with the
// pointer away.
//
// vellicot_idle_bench.exe [--seconds N] [--vellicot PATH]
#include <algorithm>
#include <cstdlib>
#include <string>

#include "bench/BenchDriver.h"
#include "bench/VellicotUi.h"

namespace bench {
namespace {

// What the pointer's arrival sets off (a hover repaint, a front-most check) has this long to end
// before the span begins.
constexpr DWORD kSettleMs = 1000;
// The /proc clock counts in steps of 10 ms, and each figure is a difference of two readings.
constexpr double kResolutionSeconds = 0.02;

struct Cpu {
    double program = 0;
    double server = 0;
    double Total() const { return program + server; }
};

// The CPU time of the two processes over the span, in seconds; negative when a reading failed.
Cpu CpuOver(int program, int server, DWORD spanMs) {
    const double programBefore = UnixCpuSeconds(program);
    const double serverBefore = UnixCpuSeconds(server);
    Sleep(spanMs);
    const double programAfter = UnixCpuSeconds(program);
    const double serverAfter = UnixCpuSeconds(server);
    if (programBefore < 0 || serverBefore < 0 || programAfter < 0 || serverAfter < 0)
        return {-1, -1};
    return {programAfter - programBefore, serverAfter - serverBefore};
}

}  // namespace
}  // namespace bench

int wmain(int argc, wchar_t** argv) {
    using namespace bench;
    BeDpiAware();
    int seconds = 10;
    std::wstring vellicotExe = DriverFolder() + L"\\..\\Vellicot.exe";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--seconds") {
            seconds = std::max(1, _wtoi(argv[i + 1]));
        } else if (option == L"--vellicot") {
            vellicotExe = argv[i + 1];
        }
    }
    const POINT away{2, 2};
    MoveTo(away);
    Process app;
    std::wstring copy = FreshCopy(vellicotExe, L"idle");
    if (copy.empty() || !app.Start(copy)) {
        Print("FAILED: Vellicot did not start\n");
        return 1;
    }
    HWND main = nullptr;
    while ((main = app.FindTopLevel(L"TForm1")) == nullptr) {
        if (NowMs() - app.StartedAt() > 30000) {
            Print("FAILED: Vellicot's main window did not show\n");
            return 1;
        }
        Sleep(5);
    }
    WaitUntilSettled(main, 1000, 30000);
    const int program = UnixPidOf(copy);
    const int server = WineserverUnixPid();
    if (program < 0 || server < 0) {
        Print("FAILED: the Unix processes of Vellicot (%d) or of the wineserver (%d) were not found\n",
              program, server);
        return 1;
    }

    const DWORD spanMs = static_cast<DWORD>(seconds) * 1000;
    Print("CPU time at rest under Wine, %d s with the pointer away, then %d s with it resting on tree 1\n",
          seconds, seconds);
    RestAt(away, kSettleMs);
    const Cpu pointerAway = CpuOver(program, server, spanMs);
    RestAt(CentreOnScreen(TreeButton(main, 1)), kSettleMs);
    const Cpu pointerOnTree = CpuOver(program, server, spanMs);
    MoveTo(away);
    if (pointerAway.program < 0 || pointerOnTree.program < 0) {
        Print("FAILED: /proc could not be read\n");
        return 1;
    }
    Print("  pointer away:         Vellicot %.2f s, wineserver %.2f s\n", pointerAway.program,
          pointerAway.server);
    Print("  pointer on a tree:    Vellicot %.2f s, wineserver %.2f s\n", pointerOnTree.program,
          pointerOnTree.server);
    const bool met = pointerOnTree.Total() <= pointerAway.Total() + kResolutionSeconds;
    Print("  goal: no more than with the pointer away (within the clock's %.2f s) %s\n", kResolutionSeconds,
          met ? "met" : "NOT met");
    PrintRow(Format("CPU, pointer resting on a tree button, %d s", seconds).c_str(),
             Format("%.2f s program + %.2f s wineserver", pointerOnTree.program, pointerOnTree.server),
             Format("pointer away: %.2f s + %.2f s", pointerAway.program, pointerAway.server),
             Format("+%.2f s", pointerOnTree.Total() - pointerAway.Total()),
             "no more than with the pointer away", met);
    if (app.Close(main) != 0) {
        Print("FAILED: Vellicot did not close cleanly\n");
        return 1;
    }
    return 0;
}
