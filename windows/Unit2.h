// The selection window: the modal picker of a tree's virtue or vice, created once and hidden
// between uses. It owns the analysis that restyles the buttons of both windows.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/Analysis.h"
#include "core/Scale.h"
#include "platform/Handles.h"
#include "platform/ModalForm.h"
#include "widgets/GlassButton.h"
#include "windows/GlassFace.h"

namespace vellicot {

class TForm1;

class TForm2 : public ModalForm {
public:
    static constexpr int kClientWidth = 304;
    static constexpr int kClientHeight = 232;
    static constexpr Colour kBackground = kPickerBackground;

    // Esc does what 閉じる does, as it closes the program's dialogs.
    TForm2();
    ~TForm2() override;

    // Creates the window (hidden) over the main window's Board, buttons and overlay, and runs
    // the creation handler.
    void Create(TForm1& main);

    // Makes the entry buttons' windows, which the first showing does.
    void EnsureButtons();

    void btnClear() { analysis_->btnClear(); }
    void Check2Red() { analysis_->Check2Red(); }
    void Check1RedLine() { analysis_->Check1RedLine(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void FormShow() override;
    void PlaceForShow(HWND owner) override;
    void OnCommand(int id, int code) override;

private:
    void SetUpButtons();
    void ConnectAnalysis();
    void FormCreate();
    void BitBtn01Click(TCustomGlassButton& sender);
    void BitBtn18Click();
    void BitBtn01MouseEnter();
    // The window's background: all it paints, for itself and beneath its glass buttons.
    void PaintContent(HDC dc) const;
    void OnPaint(HDC given);
    // Places the buttons at the window's DPI.
    void LayOut() override;

    TForm1* main_ = nullptr;                         // not owned; lives to the end of the run
    std::array<TGlassButton, kEntries + 3> BitBtn_;  // BitBtn01..BitBtn18 in slots 1..18
    std::vector<GlassFace> treeFaces_;               // the main window's btn01..btn16
    std::vector<GlassFace> entryFaces_;              // BitBtn01..BitBtn18
    std::optional<BoardAnalysis> analysis_;
    bool buttonsMade_ = false;
    UniqueBrush background_;
};

}  // namespace vellicot
