// The settings file on disk: its name, reading it whole, and replacing it atomically.
#include "shell/SettingsFile.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "platform/BusyRetry.h"
#include "platform/ErrorBox.h"
#include "platform/Handles.h"
#include "platform/Paths.h"

namespace vellicot {
namespace {

// Far beyond any settings file; keeps a stray huge file from exhausting memory.
constexpr LONGLONG kMaxFileBytes = 256LL * 1024 * 1024;
constexpr DWORD kChunkBytes = 16u * 1024 * 1024;

[[noreturn]] void ThrowCannotOpen(const std::wstring& path, DWORD code) {
    throw AppError(L"ファイル " + path + L" は開けません。 " + SystemErrorText(code) + L" ");
}

[[noreturn]] void ThrowCannotCreate(const std::wstring& path, DWORD code) {
    throw AppError(L"ファイル \"" + path + L"\" を作成できません。" + SystemErrorText(code));
}

std::wstring FullPathOf(const std::wstring& path) {
    DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

}  // namespace

std::wstring SettingsFileName() {
    return ExecutablePath() + std::wstring(kSettingsSuffix);
}

SettingsFile::SettingsFile() : SettingsFile(SettingsFileName()) {}

SettingsFile::SettingsFile(const std::wstring& path)
    : path_(FullPathOf(path)), apiPath_(ExtendedLengthPath(path_)) {
    try {
        Load();
    } catch (const std::bad_alloc&) {
        ThrowCannotOpen(path_, ERROR_NOT_ENOUGH_MEMORY);
    } catch (const std::length_error&) {
        ThrowCannotOpen(path_, ERROR_NOT_ENOUGH_MEMORY);
    }
}

void SettingsFile::Load() {
    DWORD attributes = GetFileAttributesW(apiPath_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
            return;  // no file yet: an empty store
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return;  // a folder in the file's place holds no settings; writing will say it cannot create the file
    }

    // A program that writes the file, or opened it without sharing, holds it for a moment at most.
    HANDLE raw = INVALID_HANDLE_VALUE;
    if (!SucceedsWithinMoments([&] {
            raw = CreateFileW(apiPath_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
            return raw != INVALID_HANDLE_VALUE;
        })) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return;  // removed since we looked
        ThrowCannotOpen(path_, error);
    }
    UniqueHandle file(raw);

    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        ThrowCannotOpen(path_, GetLastError());
    if (size.QuadPart > kMaxFileBytes)
        ThrowCannotOpen(path_, ERROR_FILE_TOO_LARGE);

    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, kChunkBytes));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + filled, want, &got, nullptr))
            ThrowCannotOpen(path_, GetLastError());
        if (got == 0)
            break;  // the file shrank while we read it
        filled += got;
    }
    bytes.resize(filled);
    store_ = IniStore::Parse(bytes);
}

void SettingsFile::Flush() {
    const std::string bytes = store_.Serialise();
    // Windows refuses to replace a read-only file, Wine's rename does not: refuse it everywhere, as
    // overwriting it would.
    DWORD attributes = GetFileAttributesW(apiPath_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        ThrowCannotCreate(path_, ERROR_ACCESS_DENIED);

    static unsigned sequence = 0;
    const std::wstring tempPath =
        path_ + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++sequence) + L".tmp";
    const std::wstring tempApiPath = ExtendedLengthPath(tempPath);

    HANDLE raw = CreateFileW(tempApiPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        ThrowCannotCreate(path_, GetLastError());
    UniqueHandle temp(raw);
    bool placed = false;
    ScopeExit removeTemp([&] {
        if (!placed) {
            temp.reset();
            DeleteFileW(tempApiPath.c_str());
        }
    });

    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, kChunkBytes));
        DWORD done = 0;
        if (!WriteFile(temp.get(), bytes.data() + written, want, &done, nullptr))
            ThrowCannotCreate(path_, GetLastError());
        if (done == 0)
            ThrowCannotCreate(path_, ERROR_WRITE_FAULT);
        written += done;
    }
    // On disk before it replaces the old file, so a crash leaves one whole file or the other.
    if (!FlushFileBuffers(temp.get()))
        ThrowCannotCreate(path_, GetLastError());
    if (!CloseHandle(temp.release()))
        ThrowCannotCreate(path_, GetLastError());

    // Any program that has the old file open without FILE_SHARE_DELETE (an ordinary reader, and on
    // Windows a virus scanner, the indexer or a sync client right after the last save) blocks the
    // replace until it lets go.
    if (!SucceedsWithinMoments([&] {
            return MoveFileExW(tempApiPath.c_str(), apiPath_.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        }))
        ThrowCannotCreate(path_, GetLastError());
    placed = true;
}

}  // namespace vellicot
