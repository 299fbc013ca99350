// What Windows reads off deskglide.exe without running it: icon, manifest, version block.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

TEST(Resources, IconManifestAndVersion) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    wcscpy(wcsrchr(path, L'\\'), L"\\deskglide.exe");
    const HMODULE exe = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    const auto resource = [&](const wchar_t* type, int id) {
        const HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(id), type);
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(exe, found)));
        return found ? std::string(bytes, SizeofResource(exe, found)) : std::string();
    };
    // One group of 16x16, 32x32 and 48x48 images in 16 colours, the images themselves included.
    const std::string group = resource(RT_GROUP_ICON, 1);
    std::string sizes;
    for (size_t entry = 6; entry + 14 <= group.size(); entry += 14) {
        const std::string image = resource(RT_ICON, group[entry + 12]);
        const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        sizes += std::to_string(bitmap->biWidth) + "x" + std::to_string(bitmap->biBitCount) + " ";
    }
    EXPECT_EQ(sizes, "16x4 32x4 48x4 ");
    const std::string manifest = resource(MAKEINTRESOURCEW(24), 1);
    for (const char* part : {"PerMonitorV2", ">true</dpiAware>", "Common-Controls", "asInvoker"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    std::string version = resource(RT_VERSION, VS_VERSION_INFO);
    const auto text = [&](const std::wstring& name) {
        wchar_t* value = nullptr;
        UINT size = 0;
        const std::wstring at = L"\\StringFileInfo\\040904B0\\" + name;
        VerQueryValueW(version.data(), at.c_str(), reinterpret_cast<void**>(&value), &size);
        return std::wstring(value ? value : L"");
    };
    EXPECT_EQ(text(L"ProductName") + L" " + text(L"OriginalFilename"), L"Deskglide deskglide.exe");
    EXPECT_EQ(text(L"FileVersion"), text(L"ProductVersion"));
    EXPECT_NE(text(L"FileVersion"), L"");
}
