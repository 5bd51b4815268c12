// Loading a settings file as the program does (read whole, then parsed into the store) for files of
// many short lines: the peak memory it takes, against the file's own size, and the time.
//
// Each file is loaded in a child process of its own, so every load starts from a small resident set;
// the figure is the child's peak resident set (VmHWM) above what it held before reading. The files
// are written in pieces, so the benchmark itself never holds one in memory.
//
// vellicot_settings_load_bench [--mib N]   (N MiB per file, 64 by default; the program accepts 256)
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/IniStore.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

struct Shape {
    const char* name;
    std::string_view head;  // written once at the start
    std::string_view line;  // repeated up to the file's size
};

// Every shape opens a section first: lines before any section are not kept.
constexpr Shape kShapes[] = {
    {"'a' lines, LF", "[System]\r\n", "a\n"},
    {"'a' lines, CR LF", "[System]\r\n", "a\r\n"},
    {"'k=1' lines", "[System]\r\n", "k=1\n"},
    {"empty sections '[]'", "", "[]\n"},
    {"invalid UTF-8 bytes", "[System]\r\n", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\n"},
    {"UTF-16 LE 'a' lines", std::string_view("\xFF\xFE[\0S\0]\0\r\0\n\0", 12),
     std::string_view("a\0\r\0\n\0", 6)},
};

// A field of /proc/self/status in KiB, or -1.
long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::atol(line.c_str() + length + 1);
    }
    return -1;
}

void WriteFile(const std::filesystem::path& path, const Shape& shape, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(shape.head.data(), static_cast<std::streamsize>(shape.head.size()));
    std::string block;
    while (block.size() + shape.line.size() <= (1u << 20))
        block += shape.line;
    std::size_t written = shape.head.size();
    while (written + block.size() <= size) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        written += block.size();
    }
    while (written + shape.line.size() <= size) {
        out.write(shape.line.data(), static_cast<std::streamsize>(shape.line.size()));
        written += shape.line.size();
    }
}

struct Result {
    double growthMiB;
    double seconds;
};

// In the child: read the file whole and parse it, as the program's loader does.
[[noreturn]] void LoadInChild(const std::filesystem::path& path, int reportFd) {
    // The peak starts again from the resident set the child inherited.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKiB("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    {
        std::string bytes;
        {
            std::ifstream in(path, std::ios::binary);
            bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        const vellicot::IniStore store = vellicot::IniStore::Parse(bytes);
        bytes = std::string();
        // One lookup of a key that is not there, as the main window's first read of a fresh file.
        if (store.ReadInteger(L"System", L"Form1Top2", -1) != -1)
            _exit(2);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peak = StatusKiB("VmHWM");
    Result result{static_cast<double>(peak - before) / 1024.0, seconds};
    ssize_t ignored = write(reportFd, &result, sizeof result);
    (void)ignored;
    _exit(0);
}

bool Measure(const std::filesystem::path& path, Result& result) {
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        LoadInChild(path, fds[1]);
    }
    close(fds[1]);
    bool ok = child > 0 && read(fds[0], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
    close(fds[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t mib = 64;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string_view(argv[i]) == "--mib")
            mib = static_cast<std::size_t>(std::atol(argv[i + 1]));
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vellicot-load-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::printf("%-24s %10s %12s %12s %8s\n", "file", "size MiB", "peak MiB", "peak / size", "seconds");
    int failures = 0;
    for (const Shape& shape : kShapes) {
        const std::filesystem::path path = folder / "settings.ini";
        WriteFile(path, shape, mib << 20);
        const double size = static_cast<double>(std::filesystem::file_size(path)) / kMiB;
        Result result{};
        if (Measure(path, result)) {
            std::printf("%-24s %10.1f %12.1f %12.2f %8.2f\n", shape.name, size, result.growthMiB,
                        result.growthMiB / size, result.seconds);
        } else {
            std::printf("%-24s %10.1f %12s\n", shape.name, size, "failed (out of memory?)");
            ++failures;
        }
        std::filesystem::remove(path);
    }
    std::filesystem::remove_all(folder);
    return failures == 0 ? 0 : 1;
}
