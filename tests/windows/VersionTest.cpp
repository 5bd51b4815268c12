// The program names itself and its version in four places: the main window's caption, the version
// resource, the manifest's assembly identity and the package name. All take the project's version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VellicotVersion.h"
#include "platform/Win32.h"
#include "windows/Unit1.h"

namespace vellicot {
namespace {

std::vector<unsigned char> ResourceBytes(const wchar_t* type, const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, type);
    if (info == nullptr)
        return {};
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, info)));
    return {data, data + SizeofResource(module, info)};
}

// A string of the version resource's Japanese string table, or nothing when it is missing.
std::wstring VersionString(std::vector<unsigned char>& block, const wchar_t* name) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || value == nullptr)
        return {};
    return static_cast<const wchar_t*>(value);
}

// The version as CMake's project gives it, put together from its two numbers.
std::wstring ProjectVersion() {
    return std::to_wstring(VELLICOT_VERSION_MAJOR) + L"." + std::to_wstring(VELLICOT_VERSION_MINOR);
}

TEST(VersionTest, CaptionCarriesTheProjectVersion) {
    EXPECT_EQ(std::wstring(TForm1::kCaption), L"Vellicot ver." + ProjectVersion());
}

TEST(VersionTest, VersionResourceNamesTheProductItsVersionAndWhatItIs) {
    std::vector<unsigned char> block = ResourceBytes(MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(block.empty());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD majorMinor = (VELLICOT_VERSION_MAJOR << 16) | VELLICOT_VERSION_MINOR;
    EXPECT_EQ(fixed->dwFileVersionMS, majorMinor);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, majorMinor);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(VersionString(block, L"ProductName"), L"Vellicot");
    EXPECT_EQ(VersionString(block, L"FileVersion"), ProjectVersion());
    EXPECT_EQ(VersionString(block, L"ProductVersion"), ProjectVersion());
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Vellicot.exe");
    // Explorer and the task manager show the description: it says what the program is, in Japanese.
    std::wstring description = VersionString(block, L"FileDescription");
    EXPECT_NE(description.find(L"Vellicot"), std::wstring::npos);
    EXPECT_NE(description.find(L"果樹園"), std::wstring::npos);
}

TEST(VersionTest, ManifestIdentityCarriesTheProjectVersion) {
    std::vector<unsigned char> manifest = ResourceBytes(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    std::string text(manifest.begin(), manifest.end());
    std::string version(VELLICOT_VERSION_TEXT);
    std::string identity =
        "<assemblyIdentity type=\"win32\" name=\"Vellicot\" version=\"" + version + ".0.0\"";
    EXPECT_NE(text.find(identity), std::string::npos) << text;
    EXPECT_EQ(text.find('@'), std::string::npos) << "an unreplaced placeholder: " << text;
}

}  // namespace
}  // namespace vellicot
