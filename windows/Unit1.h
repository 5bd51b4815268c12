// The main window: the orchard map with its tree buttons, the stopwatch and the commands.
#pragma once

#include "platform/Png.h"
#include "platform/Window.h"

namespace vellicot {

class TForm1 : public Window {
public:
    static constexpr int kClientWidth = 304;
    static constexpr int kClientHeight = 348;

    // Creates the window (hidden) and runs its creation handler.
    void Create();
    void Show(int showCommand);

    bool MapLoaded() const noexcept { return mapPicture_.has_value(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();

    std::optional<DecodedPicture> mapPicture_;
};

}  // namespace vellicot
