// Decoding the map pictures carried in the executable, and refusing broken PNG data.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Png.h"
#include "platform/Win32.h"

namespace vellicot {
namespace {

std::vector<unsigned char> ResourceBytes(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10));
    if (info == nullptr)
        return {};
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, info)));
    return {data, data + SizeofResource(module, info)};
}

TEST(PngTest, BothMapPicturesDecodeTo800By800Pixels) {
    for (const wchar_t* name : {L"PngImage_1", L"PngImage_2"}) {
        auto picture = DecodePngResource(name);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, 800);
        EXPECT_EQ(picture->height, 800);
        EXPECT_EQ(picture->bgra.size(), 800u * 800u * 4u);
    }
}

TEST(PngTest, MissingResourceGivesNothing) {
    EXPECT_FALSE(DecodePngResource(L"PngImage_9").has_value());
}

TEST(PngTest, TruncatedOrForeignDataGivesNothing) {
    std::vector<unsigned char> bytes = ResourceBytes(L"PngImage_1");
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_FALSE(DecodePng(bytes.data(), bytes.size() / 2).has_value());
    EXPECT_FALSE(DecodePng(bytes.data(), 8).has_value());
    const char text[] = "not a picture at all";
    EXPECT_FALSE(DecodePng(text, sizeof text).has_value());
    EXPECT_FALSE(DecodePng(nullptr, 0).has_value());
}

}  // namespace
}  // namespace vellicot
