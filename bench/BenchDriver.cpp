// The benchmark drivers' plumbing: folders, processes, input, screen grabs and statistics.
#include "bench/BenchDriver.h"

#include "outside/Outside.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {
namespace {

std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}

// A whole file read as bytes; empty when it cannot be read.
std::string ReadAll(const std::wstring& path) {
    return outside::ReadWholeFile(path).value_or(std::string());
}

// /proc/<pid>/<entry> as Wine reaches it (its Z: drive is the Unix root).
std::wstring ProcPath(const std::wstring& pid, const wchar_t* entry) {
    return L"Z:\\proc\\" + pid + L"\\" + entry;
}

std::string LowerWithBackslashes(std::string text) {
    for (char& c : text)
        c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

double Quantile(const std::vector<double>& sorted, double q) {
    double position = q * static_cast<double>(sorted.size() - 1);
    auto below = static_cast<std::size_t>(position);
    std::size_t above = std::min(below + 1, sorted.size() - 1);
    double fraction = position - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

}  // namespace

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

void SleepMs(double ms) {
    if (ms <= 0)
        return;
    // NtDelayExecution takes 100-ns units, negative for a relative time.
    using DelayExecution = LONG(WINAPI*)(BOOLEAN, PLARGE_INTEGER);
    static const auto delay = reinterpret_cast<DelayExecution>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDelayExecution")));
    if (delay == nullptr) {
        Sleep(static_cast<DWORD>(ms + 0.5));
        return;
    }
    LARGE_INTEGER interval;
    interval.QuadPart = -static_cast<LONGLONG>(ms * 10000.0);
    delay(FALSE, &interval);
}

void Pacer::Wait() {
    double now = NowMs();
    if (now < next_) {
        SleepMs(next_ - now);
        next_ += period_;
    } else {
        next_ = now + period_;
    }
}

void BeDpiAware() {
    if (!SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        SetProcessDPIAware();
}

std::wstring FreshCopy(const std::wstring& exePath, const std::wstring& runName) {
    const std::wstring folder = outside::RunFolder(L"bench-runs", runName);
    std::wstring copy = folder + L"\\" + NameOf(exePath);
    if (!CopyFileW(exePath.c_str(), copy.c_str(), FALSE))
        return {};
    return copy;
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Process::~Process() {
    outside::EndAndRelease(process_);
}

bool Process::Start(const std::wstring& exePath, const std::wstring& arguments) {
    startedAt_ = NowMs();
    process_ = outside::Launch(exePath, arguments, &pid_);
    createdAt_ = NowMs();
    return process_ != nullptr;
}

HWND Process::FindTopLevel(const wchar_t* className, bool visibleOnly) const {
    return outside::FindTopLevel(pid_, className, visibleOnly);
}

int Process::Close(HWND mainWindow, DWORD timeoutMs) {
    return outside::CloseAndWait(process_, mainWindow, timeoutMs);
}

std::size_t Process::PeakWorkingSet() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (process_ == nullptr || !GetProcessMemoryInfo(process_, &counters, sizeof counters))
        return 0;
    return counters.PeakWorkingSetSize;
}

std::string Process::MemoryFigures() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (process_ == nullptr || !GetProcessMemoryInfo(process_, &counters, sizeof counters))
        return "unknown";
    return "peak working set " + MiB(static_cast<double>(counters.PeakWorkingSetSize)) + ", working set " +
           MiB(static_cast<double>(counters.WorkingSetSize)) + ", private " +
           MiB(static_cast<double>(counters.PagefileUsage));
}

double UnixCpuSeconds(int unixPid) {
    std::string stat = ReadAll(ProcPath(std::to_wstring(unixPid), L"stat"));
    // The fields after the command name in parentheses: state is the first, then utime and stime
    // are the twelfth and thirteenth, in clock ticks of 1/100 s (Linux's USER_HZ).
    std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    const char* field = stat.c_str() + close + 1;
    long long ticks[13] = {};
    for (int i = 0; i < 13; ++i) {
        while (*field == ' ')
            ++field;
        if (*field == '\0')
            return -1;
        ticks[i] = std::strtoll(field, nullptr, 10);
        while (*field != ' ' && *field != '\0')
            ++field;
    }
    return static_cast<double>(ticks[11] + ticks[12]) / 100.0;
}

int WineserverUnixPid() {
    // Wine opens files in its server process, so /proc/self opened through Wine is the server's.
    std::string stat = ReadAll(L"Z:\\proc\\self\\stat");
    std::size_t open = stat.find('(');
    if (open == std::string::npos || stat.compare(open + 1, 10, "wineserver") != 0)
        return -1;
    return std::atoi(stat.c_str());
}

int UnixPidOf(const std::wstring& exePath) {
    // A program under Wine shows its Windows path as its Unix command line's first word.
    char narrow[MAX_PATH * 3];
    int length =
        WideCharToMultiByte(CP_UTF8, 0, exePath.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    if (length <= 0)
        return -1;
    const std::string wanted = LowerWithBackslashes(narrow);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return -1;
    int found = -1;
    do {
        const std::wstring name = data.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        std::string commandLine = ReadAll(ProcPath(name, L"cmdline"));
        if (LowerWithBackslashes(commandLine.c_str()) == wanted) {
            found = _wtoi(name.c_str());
            break;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

ScreenArea::ScreenArea(const RECT& onScreen)
    : bounds_(onScreen), width_(onScreen.right - onScreen.left), height_(onScreen.bottom - onScreen.top) {
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(memory_, bitmap_);
    std::memset(bits_, 0, static_cast<std::size_t>(width_) * height_ * 4);
}

ScreenArea::~ScreenArea() {
    SelectObject(memory_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
}

void ScreenArea::Grab() {
    BitBlt(memory_, 0, 0, width_, height_, screen_, bounds_.left, bounds_.top, SRCCOPY);
    GdiFlush();
}

bool ScreenArea::SameAs(const ScreenArea& other) const {
    return width_ == other.width_ && height_ == other.height_ &&
           std::memcmp(bits_, other.bits_, static_cast<std::size_t>(width_) * height_ * 4) == 0;
}

void ScreenArea::CopyFrom(const ScreenArea& other) {
    std::memcpy(bits_, other.bits_, static_cast<std::size_t>(width_) * height_ * 4);
}

std::uint32_t ScreenArea::Pixel(int x, int y) const {
    return bits_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
}

bool ScreenArea::DiffersIn(const ScreenArea& other, const RECT& part) const {
    for (int y = std::max(0L, part.top); y < std::min<long>(height_, part.bottom); ++y) {
        for (int x = std::max(0L, part.left); x < std::min<long>(width_, part.right); ++x) {
            if (Pixel(x, y) != other.Pixel(x, y))
                return true;
        }
    }
    return false;
}

Watch WatchUntilSettled(ScreenArea& before, double origin, double quietMs, double timeoutMs, double periodMs,
                        const std::function<void()>& afterEachGrab) {
    ScreenArea current(before.Bounds());
    Watch watch;
    Pacer pacer(periodMs);
    double grabTime = 0;
    double firstStart = -1;
    double lastStart = -1;
    double quietSince = NowMs();
    for (;;) {
        double start = NowMs();
        current.Grab();
        bool changed = !current.SameAs(before);
        double end = NowMs();
        grabTime += end - start;
        ++watch.grabs;
        if (firstStart < 0)
            firstStart = start;
        lastStart = start;
        if (afterEachGrab)
            afterEachGrab();
        if (changed) {
            if (watch.firstChange < 0)
                watch.firstChange = start - origin;
            watch.lastChange = start - origin;
            before.CopyFrom(current);
            quietSince = start;
        }
        if (end - quietSince >= quietMs) {
            watch.settled = true;
            break;
        }
        if (end - origin > timeoutMs)
            break;
        pacer.Wait();
    }
    watch.grabCost = grabTime / watch.grabs;
    watch.pollPeriod = watch.grabs > 1 ? (lastStart - firstStart) / (watch.grabs - 1) : 0;
    return watch;
}

POINT CentreOnScreen(HWND window) {
    RECT rect = outside::ClientRectOnScreen(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

int ShownDpi(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return MulDiv(client.right, 96, 304);
}

Spread Summarise(std::vector<double> sample) {
    Spread spread;
    spread.count = sample.size();
    if (sample.empty())
        return spread;
    std::sort(sample.begin(), sample.end());
    spread.median = Quantile(sample, 0.5);
    spread.lowerQuartile = Quantile(sample, 0.25);
    spread.upperQuartile = Quantile(sample, 0.75);
    spread.min = sample.front();
    spread.max = sample.back();
    return spread;
}

std::string Describe(const Spread& spread, const char* unit) {
    char text[160];
    std::snprintf(text, sizeof text, "median %7.1f %s (quartiles %.1f..%.1f, range %.1f..%.1f, n=%zu)",
                  spread.median, unit, spread.lowerQuartile, spread.upperQuartile, spread.min, spread.max,
                  spread.count);
    return text;
}

std::string MiB(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MiB", bytes / (1024.0 * 1024.0));
    return text;
}

void Print(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::fflush(stdout);
}

std::string Format(const char* format, ...) {
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

void PrintRow(const char* what, const std::string& vellicot, const std::string& baseline,
              const std::string& ratio, const char* goal, std::optional<bool> met) {
    Print("ROW|%s|%s|%s|%s|%s|%s\n", what, vellicot.c_str(), baseline.c_str(), ratio.c_str(), goal,
          !met   ? "-"
          : *met ? "met"
                 : "NOT met");
}

}  // namespace bench
