// The guarded start-up.
#include "shell/Startup.h"

#include "platform/ErrorBox.h"

namespace vellicot {

int RunGuarded(const std::function<int()>& body) noexcept {
    try {
        return body();
    } catch (...) {
        ShowCurrentError();
    }
    return kStartupFailedExitCode;
}

}  // namespace vellicot
