// The program names itself and its version in four places: the main window's caption, the version
// resource, the manifest's assembly identity and the package name. All take the project's version.
// And the versions of Windows it starts on: what its exe imports.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "VellicotVersion.h"
#include "outside/Outside.h"
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

// The functions Vellicot.exe, next to the tests' folder, imports from a DLL by name, read from its
// import table.
std::vector<std::string> ImportsOfVellicotExe(const char* dll) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe(path);
    exe = exe.substr(0, exe.find_last_of(L'\\')) + L"\\..\\Vellicot.exe";
    const std::string bytes = outside::ReadWholeFile(exe).value_or(std::string());
    std::vector<std::string> names;
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    auto at = [&](DWORD rva) -> const char* {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return bytes.data() + (rva - section.VirtualAddress + section.PointerToRawData);
        }
        return nullptr;
    };
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(table.VirtualAddress));
         entry != nullptr && entry->Name != 0; ++entry) {
        if (_stricmp(at(entry->Name), dll) != 0)
            continue;
        const DWORD thunks = entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
        for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA64*>(at(thunks));
             thunk->u1.AddressOfData != 0; ++thunk) {
            if (!IMAGE_SNAP_BY_ORDINAL64(thunk->u1.Ordinal))
                names.emplace_back(at(static_cast<DWORD>(thunk->u1.AddressOfData)) + 2);  // after the hint
        }
    }
    return names;
}

// The exe starts on every Windows 10: a function that user32 has only from version 1607 on is looked
// up at run time, never imported by name, or the loader refuses the exe on the versions before.
TEST(ExecutableTest, ImportsNoUser32FunctionNewerThanTheFirstWindows10) {
    const std::vector<std::string> imports = ImportsOfVellicotExe("user32.dll");
    ASSERT_GT(imports.size(), 20u) << "the import table was not read";
    for (const char* newer :
         {"GetDpiForWindow", "GetDpiForSystem", "AdjustWindowRectExForDpi", "GetSystemMetricsForDpi",
          "SystemParametersInfoForDpi", "EnableNonClientDpiScaling", "SetThreadDpiAwarenessContext",
          "GetThreadDpiAwarenessContext", "GetWindowDpiAwarenessContext",
          "GetAwarenessFromDpiAwarenessContext", "SetProcessDpiAwarenessContext",
          "GetDpiFromDpiAwarenessContext"}) {
        for (const std::string& name : imports)
            EXPECT_NE(name, newer);
    }
}

}  // namespace
}  // namespace vellicot
