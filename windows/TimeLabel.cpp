// The time label: its font, its text and its painting.
#include "windows/TimeLabel.h"

#include <algorithm>

#include "windows/DialogParts.h"

namespace vellicot {
namespace {

constexpr int kFontHeight = 16;

}  // namespace

UniqueFont CreateTimeLabelFont(int height, int width) {
    auto widestTime = [](HDC dc) {
        int tens = 0, units = 0;  // the widest digit up to 5, and up to 9
        for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
            const int w = TextWidth(dc, std::wstring_view(&digit, 1));
            units = std::max(units, w);
            if (digit <= L'5')
                tens = std::max(tens, w);
        }
        return 2 * tens + 5 * units + TextWidth(dc, L":") + TextWidth(dc, L".");
    };
    return MakeUiFontThatFits(height, width, widestTime);
}

void TimeLabel::LayOut(HWND owner, int dpi) {
    owner_ = owner;
    const Box box = ScaleToDpi(kBox, dpi);
    place_ = {box.left, box.top, box.Right(), box.Bottom()};
    font_ = CreateTimeLabelFont(ScaleToDpi(kFontHeight, dpi), box.width);
}

void TimeLabel::SetText(const std::wstring& text) {
    if (text == text_)
        return;
    text_ = text;
    InvalidateRect(owner_, &place_, FALSE);
}

void TimeLabel::Paint(HDC dc) const {
    RECT clip{};
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&clip, &clip, &place_))
        return;  // a button that does not meet the label
    SelectedObject font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT place = place_;
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &place, DT_RIGHT | DT_NOPREFIX);
}

}  // namespace vellicot
