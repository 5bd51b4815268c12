// The guarded start-up.
#include "shell/Startup.h"

#include <exception>

#include "platform/ErrorBox.h"

namespace vellicot {

int RunGuarded(const std::function<int()>& body) noexcept {
    try {
        return body();
    } catch (const AppError& error) {
        ShowErrorBox(error.Message());
    } catch (const std::exception& error) {
        ShowErrorBox(WidenUtf8(error.what()));
    } catch (...) {
        ShowErrorBox(L"予期しないエラーが発生しました。");
    }
    return kStartupFailedExitCode;
}

}  // namespace vellicot
