// The standard error box and the system error texts it shows.
#include "platform/ErrorBox.h"

#include <exception>

#include "platform/Win32.h"

namespace vellicot {

std::wstring SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer != nullptr ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

namespace {

// What a standard exception says (UTF-8) as the box's text; invalid sequences become U+FFFD.
std::wstring MessageOf(std::string_view text) {
    if (text.empty())
        return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace

int ShowErrorBox(const std::wstring& message, UINT buttons) noexcept {
    return MessageBoxW(GetActiveWindow(), message.c_str(), L"Vellicot", buttons | MB_ICONERROR);
}

int ShowErrorBoxOver(HWND owner, const std::wstring& message, UINT buttons) noexcept {
    return MessageBoxW(owner, message.c_str(), L"Vellicot", buttons | MB_ICONERROR | MB_SETFOREGROUND);
}

void ShowCurrentError() noexcept {
    try {
        throw;
    } catch (const AppError& e) {
        ShowErrorBox(e.Message());
    } catch (const std::exception& e) {
        ShowErrorBox(MessageOf(e.what()));
    } catch (...) {
        ShowErrorBox(L"予期しないエラーが発生しました。");
    }
}

}  // namespace vellicot
