// The real program's settings file from outside: positions kept across a close or a log-off while
// the main window is minimised, a file saved as UTF-16, and stored positions at the ends of the
// integers.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/e2e/E2e.h"
#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

RECT OuterRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

void MoveWindowTo(HWND window, int left, int top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Minimise(HWND window) {
    ShowWindow(window, SW_MINIMIZE);
    return WaitFor([&] { return IsIconic(window) != FALSE; });
}

// The "Key=value" line of the file for the key, or empty.
std::string Line(const std::string& bytes, const std::string& key) {
    const std::size_t at = bytes.find("\r\n" + key + "=");
    if (at == std::string::npos)
        return {};
    const std::size_t begin = at + 2;
    return bytes.substr(begin, bytes.find("\r\n", begin) - begin);
}

// Moves both windows away from where they open, minimises the main window, lets the action save
// the settings and checks the file holds the places the windows are restored to.
void MoveMinimiseAndSave(App& app, const std::function<void(HWND main)>& save) {
    HWND main = app.MainWindow();
    HWND picker = app.FindTopLevel(L"TForm2", false);
    ASSERT_NE(picker, nullptr);
    MoveWindowTo(main, 150, 100);
    MoveWindowTo(picker, 111, 222);
    ASSERT_TRUE(WaitFor([&] { return OuterRect(main).left == 150 && OuterRect(main).top == 100; }));
    // A person minimises a while after moving: a move right before a minimise is taken for the
    // window manager's minimise animation.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    ASSERT_TRUE(Minimise(main));
    RECT parked = OuterRect(main);
    ASSERT_FALSE(parked.left == 150 && parked.top == 100) << "a minimised window is parked elsewhere";
    save(main);

    std::string bytes;
    ASSERT_TRUE(WaitFor([&] { return app.ReadSettings(bytes) && !Line(bytes, "chTopmost").empty(); }));
    EXPECT_EQ(Line(bytes, "Form1Top2"), "Form1Top2=100");
    EXPECT_EQ(Line(bytes, "Form1Left2"), "Form1Left2=150");
    EXPECT_EQ(Line(bytes, "Form2Top2"), "Form2Top2=222");
    EXPECT_EQ(Line(bytes, "Form2Left2"), "Form2Left2=111");
}

TEST(SettingsFileE2eTest, WindowClosedWhileMinimisedOpensWhereItWas) {
    {
        App app(L"MinimisedClose");
        ASSERT_TRUE(app.Start());
        MoveMinimiseAndSave(app, [&](HWND main) {
            // As the taskbar's "Close window" does.
            PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_EQ(app.Close(), 0);
        });
    }
    App again(L"MinimisedClose", false);
    ASSERT_TRUE(again.Start());
    RECT outer = OuterRect(again.MainWindow());
    EXPECT_EQ(outer.left, 150);
    EXPECT_EQ(outer.top, 100);
    RECT picker = OuterRect(again.FindTopLevel(L"TForm2", false));
    EXPECT_EQ(picker.left, 111);
    EXPECT_EQ(picker.top, 222);
    EXPECT_EQ(again.Close(), 0);
}

TEST(SettingsFileE2eTest, LogOffWhileMinimisedSavesWhereTheWindowWas) {
    App app(L"MinimisedLogOff");
    ASSERT_TRUE(app.Start());
    MoveMinimiseAndSave(app, [](HWND main) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer);
        SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer);
    });
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Close(), 0);
}

// The text as UTF-16 in the byte order asked for, after its byte-order mark.
std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(SettingsFileE2eTest, FileSavedAsUtf16IsReadAndWrittenBackAsUtf8) {
    for (bool bigEndian : {false, true}) {
        App app(bigEndian ? L"Utf16BigEndian" : L"Utf16LittleEndian");
        app.WriteSettings(
            Utf16(L"[System]\r\nForm1Top2=120\r\nForm1Left2=60\r\nNAME=テスト　太郎\r\nchTopmost=0\r\n",
                  bigEndian));
        ASSERT_TRUE(app.Start());
        HWND main = app.MainWindow();
        RECT outer = OuterRect(main);
        EXPECT_EQ(outer.left, 60);
        EXPECT_EQ(outer.top, 120);
        EXPECT_EQ(Text(Child(main, ids::kEdtNAME)), L"テスト　太郎");
        EXPECT_EQ(SendMessageW(Child(main, ids::kChTopmost), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        RECT pick = OuterRect(app.FindTopLevel(L"TForm2", false));
        ASSERT_EQ(app.Close(), 0);

        std::string bytes;
        ASSERT_TRUE(app.ReadSettings(bytes));
        EXPECT_EQ(bytes.find('\0'), std::string::npos);
        EXPECT_EQ(bytes,
                  std::string(kBom) +
                      "[System]\r\nForm1Top2=120\r\nForm1Left2=60\r\nNAME=テスト　太郎\r\nchTopmost=0\r\n"
                      "Form2Top2=" +
                      std::to_string(pick.top) + "\r\nForm2Left2=" + std::to_string(pick.left) + "\r\n\r\n");
    }
}

}  // namespace
}  // namespace e2e
