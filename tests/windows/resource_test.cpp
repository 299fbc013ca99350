#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "harness.h"

namespace {

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved, type, count;
};
struct IconGroupEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

// deskglide.exe loaded as data only: its resources, none of its code.
class Resources : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(sandbox_.Exe().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    // The bytes of one resource, empty when it is missing.
    std::string Resource(const wchar_t* type, const wchar_t* name) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) {
            return {};
        }
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(bytes, SizeofResource(module_, found));
    }

    std::vector<std::wstring> Names(const wchar_t* type) const {
        std::vector<std::wstring> names;
        EnumResourceNamesW(
            module_, type,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                auto* list = reinterpret_cast<std::vector<std::wstring>*>(param);
                list->push_back(IS_INTRESOURCE(name)
                                    ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                    : std::wstring(name));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

    Sandbox sandbox_;
    HMODULE module_ = nullptr;
};

TEST_F(Resources, OneIconGroupOfThreeSizesInSixteenColours) {
    ASSERT_EQ(Names(RT_GROUP_ICON), std::vector<std::wstring>{L"#1"});
    const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
    ASSERT_GE(group.size(), sizeof(IconGroupHeader));
    const auto* header = reinterpret_cast<const IconGroupHeader*>(group.data());
    ASSERT_EQ(header->type, 1);
    ASSERT_EQ(header->count, 3);
    ASSERT_EQ(group.size(), sizeof(IconGroupHeader) + 3 * sizeof(IconGroupEntry));

    std::set<int> sizes;
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
    for (int i = 0; i < 3; ++i) {
        const IconGroupEntry& entry = entries[i];
        SCOPED_TRACE("image " + std::to_string(entry.width));
        sizes.insert(entry.width);
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.colorCount, 16);
        EXPECT_EQ(entry.bitCount, 4);
        // The image itself, not only the directory, is 4 bits per pixel.
        const std::string image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        EXPECT_EQ(bitmap->biBitCount, 4);
        EXPECT_EQ(bitmap->biWidth, entry.width);
        EXPECT_EQ(bitmap->biHeight, 2 * entry.width);  // colours and mask
        EXPECT_EQ(image.size(), entry.bytesInRes);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

TEST_F(Resources, ManifestAsksForDpiAwarenessCommonControlsAndNoElevation) {
    ASSERT_EQ(Names(MAKEINTRESOURCEW(24)), std::vector<std::wstring>{L"#1"});
    const std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    for (const char* part :
         {"<dpiAwareness", "PerMonitorV2", "<dpiAware", ">true</dpiAware>",
          "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "level=\"asInvoker\"",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // Windows 10
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

TEST_F(Resources, VersionBlockNamesTheProductAndItsVersion) {
    const std::string block = Resource(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO));
    ASSERT_FALSE(block.empty());
    std::vector<char> copy(block.begin(), block.end());  // VerQueryValue wants it writable

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwProductVersionMS,
              static_cast<DWORD>(DESKGLIDE_VERSION_MAJOR << 16 | DESKGLIDE_VERSION_MINOR));
    EXPECT_EQ(fixed->dwProductVersionLS, static_cast<DWORD>(DESKGLIDE_VERSION_PATCH << 16));

    const auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT size = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(copy.data(), path.c_str(), reinterpret_cast<void**>(&value), &size) ||
            value == nullptr) {
            return std::wstring();
        }
        return std::wstring(value);
    };
    EXPECT_EQ(text(L"ProductName"), L"Deskglide");
    EXPECT_EQ(text(L"ProductVersion"), DESKGLIDE_VERSION_TEXT);
    EXPECT_EQ(text(L"OriginalFilename"), L"deskglide.exe");
    EXPECT_FALSE(text(L"FileDescription").empty());
}

}  // namespace
