// Timing real programs from outside under Wine: fresh run folders, processes, real pointer input,
// and watching a window's client area on screen until its picture settles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "outside/Outside.h"

namespace bench {

// A monotonic clock in milliseconds (the performance counter).
double NowMs();
// Sleeps for a time given to a fraction of a millisecond (Sleep takes whole ones; under Wine a
// sleep lasts what was asked plus about 0.05 ms).
void SleepMs(double ms);

// Keeps a polling loop at a fixed period: each Wait sleeps until one period after the start of the
// previous one, or returns at once when the work in between took longer.
class Pacer {
public:
    explicit Pacer(double periodMs) : period_(periodMs), next_(NowMs() + periodMs) {}
    void Wait();

private:
    double period_;
    double next_;
};

// Makes this driver aware of each display's DPI whatever its manifest says, so that window
// rectangles, screen grabs and pointer input all speak in real pixels of the screen.
void BeDpiAware();

using outside::DriverFolder;
// Makes (or empties) the folder bench-runs\<runName> beside the driver and copies the program into
// it; returns the copy's path, or empty when the copy failed.
std::wstring FreshCopy(const std::wstring& exePath, const std::wstring& runName);
// The size of a file in bytes, or -1.
long long FileSize(const std::wstring& path);

// One run of a program, started in its own folder. The start time is read right before the
// process is created.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool Start(const std::wstring& exePath, const std::wstring& arguments = L"");
    // Read right before the process is created, and right after.
    double StartedAt() const { return startedAt_; }
    double CreatedAt() const { return createdAt_; }
    DWORD Id() const { return pid_; }
    HANDLE Handle() const { return process_; }
    // A top-level window of this process with the class name, or null.
    HWND FindTopLevel(const wchar_t* className, bool visibleOnly = true) const;
    // Asks the window to close and waits for the process; returns its exit code, or -1.
    int Close(HWND mainWindow, DWORD timeoutMs = 15000);
    // The most memory the process has had in its working set so far, in bytes.
    std::size_t PeakWorkingSet() const;
    // "peak working set 30.1 MiB, working set 29.8 MiB, private 12.3 MiB"
    std::string MemoryFigures() const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    double startedAt_ = 0;
    double createdAt_ = 0;
};

// CPU time (user and system) of a process of the machine, in seconds, read from Linux's /proc
// through Wine's Z: drive; -1 when it cannot be read. The clock counts in steps of 10 ms.
double UnixCpuSeconds(int unixPid);
// The Unix process of the wineserver that serves this driver, or -1.
int WineserverUnixPid();
// The Unix process of a program that the driver started under Wine from exePath, or -1.
int UnixPidOf(const std::wstring& exePath);

// A rectangle of the screen, grabbed into a 32-bit picture.
class ScreenArea {
public:
    explicit ScreenArea(const RECT& onScreen);
    ScreenArea(const ScreenArea&) = delete;
    ScreenArea& operator=(const ScreenArea&) = delete;
    ~ScreenArea();

    // Copies the screen's pixels of the rectangle into the picture.
    void Grab();
    bool SameAs(const ScreenArea& other) const;
    void CopyFrom(const ScreenArea& other);
    // The colour at a point of the rectangle, as 0x00RRGGBB.
    std::uint32_t Pixel(int x, int y) const;
    // True when some pixel inside the sub-rectangle (in the area's coordinates) differs.
    bool DiffersIn(const ScreenArea& other, const RECT& part) const;
    const RECT& Bounds() const { return bounds_; }

private:
    RECT bounds_;
    int width_;
    int height_;
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// What watching an area showed. Times are in ms from the origin given; a time is that of the start
// of the grab that first showed the picture (the picture was there by the end of that grab and not
// yet at the start of the grab before it).
struct Watch {
    bool settled = false;     // the picture stopped changing before the time-out
    double firstChange = -1;  // the first picture that differed from the one before the watch
    double lastChange = -1;   // the settled picture first seen
    int grabs = 0;
    double grabCost = 0;    // the mean time of one grab and compare
    double pollPeriod = 0;  // the mean time from one grab's start to the next
};

// Grabs the area every periodMs (or as fast as the grabs go, when one takes longer) until its
// picture has not changed for quietMs (or timeoutMs has passed since the origin). before holds the
// picture to compare the first grab with and receives the settled picture. afterEachGrab, when
// given, runs after every grab.
Watch WatchUntilSettled(ScreenArea& before, double origin, double quietMs, double timeoutMs,
                        double periodMs = 1, const std::function<void()>& afterEachGrab = {});

using outside::ClientRectOnScreen;
// The centre of a child window on screen.
POINT CentreOnScreen(HWND window);

// The DPI a main window of Vellicot or of a baseline (304 pixels wide at 96 DPI) is shown at, from its
// client area's width: under Wine 8 GetDpiForWindow answers 96 for another process's window.
int ShownDpi(HWND window);

using outside::MoveTo;
using outside::PressAndRelease;

// Median and spread of a sample.
struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
    double lowerQuartile = 0;
    double upperQuartile = 0;
    std::size_t count = 0;
};
Spread Summarise(std::vector<double> sample);
// "median 12.3 ms (quartiles 11.0..13.1, range 10.2..20.4, n=10)"
std::string Describe(const Spread& spread, const char* unit = "ms");
std::string MiB(double bytes);

// printf to stdout, flushed at once, so the lines come through Wine in order.
void Print(const char* format, ...);

// One line of the summary that scripts/bench.sh gathers from every driver: what was measured,
// Vellicot's figure, the baseline's figure with its name, their ratio (or other comparison), the
// goal and whether it is met (nothing for a figure that is only reported). Printed as
// "ROW|what|vellicot|baseline|ratio|goal|verdict".
void PrintRow(const char* what, const std::string& vellicot, const std::string& baseline,
              const std::string& ratio, const char* goal, std::optional<bool> met);
// "12.3 ms", "1.85x" and the like.
std::string Format(const char* format, ...);

}  // namespace bench
