// What Windows reads off deskglide.exe without running it: icon, manifest, version block.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

namespace {

std::string Resource(HMODULE exe, const wchar_t* type, const wchar_t* name) {
    HRSRC found = FindResourceW(exe, name, type);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    return found == nullptr ? std::string() : std::string(bytes, SizeofResource(exe, found));
}

TEST(Resources, IconManifestAndVersion) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring exePath = std::wstring(path).substr(0, std::wstring(path).rfind(L'\\'));
    const HMODULE exe = LoadLibraryExW((exePath + L"\\deskglide.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);

    // One icon group, first in the file, of 16x16, 32x32 and 48x48 images in 16 colours.
    const std::string group = Resource(exe, RT_GROUP_ICON, MAKEINTRESOURCEW(1));
    ASSERT_EQ(group.size(), 6u + 3 * 14);
    std::set<int> sizes;
    for (size_t entry = 6; entry < group.size(); entry += 14) {
        const int size = static_cast<unsigned char>(group[entry]);
        const std::string image = Resource(exe, RT_ICON, MAKEINTRESOURCEW(group[entry + 12]));
        const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(bitmap->biBitCount, 4) << size;
        EXPECT_EQ(bitmap->biWidth, size);
        sizes.insert(size);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));

    const std::string manifest = Resource(exe, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    for (const char* part : {"PerMonitorV2", ">true</dpiAware>",
                             "Microsoft.Windows.Common-Controls", "level=\"asInvoker\""}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }

    std::string version = Resource(exe, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO));
    const auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT size = 0;
        const std::wstring at = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        return VerQueryValueW(version.data(), at.c_str(), reinterpret_cast<void**>(&value), &size)
                   ? std::wstring(value)
                   : std::wstring();
    };
    EXPECT_EQ(text(L"ProductName"), L"Deskglide");
    EXPECT_EQ(text(L"OriginalFilename"), L"deskglide.exe");
    EXPECT_EQ(text(L"FileVersion"), text(L"ProductVersion"));
    EXPECT_FALSE(text(L"FileVersion").empty());
    FreeLibrary(exe);
}

}  // namespace
