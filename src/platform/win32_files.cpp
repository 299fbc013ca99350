// Files: the program's folders and the lists read from them.
#include <windows.h>
// After windows.h, which it needs: SHGetKnownFolderPath.
#include <shlobj.h>

#include "platform/win32_desktop.h"
#include "platform/win32_handles.h"

namespace {

// Files larger than this are read without reserving their size first.
constexpr LONGLONG kReserveLimit = 256LL * 1024 * 1024;

// FOLDERID_RoamingAppData, written out so that no library of GUIDs need be linked.
constexpr GUID kRoamingAppData = {
    0x3EB685DB, 0x65F9, 0x4CF6, {0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}};

// `path` in a form the system takes whatever its length: from MAX_PATH characters on, only the
// \\?\ form names a file where the system does not allow long paths.
std::wstring LongForm(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\")) {
        return path;
    }
    return path.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + path.substr(2) : L"\\\\?\\" + path;
}

// The path of the file that `path` names, with every link on the way resolved: the program started
// through winget's link to it looks for its lists beside the exe itself. `path` where the system
// cannot tell (a volume without a drive letter, a file system that does not say).
std::wstring FinalPath(const std::wstring& path) {
    const FileHandle file = OwnFile(CreateFileW(
        LongForm(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, 0, nullptr));
    constexpr DWORD kDosName = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD size = file ? GetFinalPathNameByHandleW(file.get(), nullptr, 0, kDosName) : 0;
    std::wstring final(size, L'\0');
    const DWORD length =
        size == 0 ? 0 : GetFinalPathNameByHandleW(file.get(), final.data(), size, kDosName);
    if (length == 0 || length >= size) {
        return path;
    }
    final.resize(length);
    // The system's own form of the path: \\?\C:\... for a drive, \\?\UNC\server\... for a share.
    constexpr std::wstring_view kShare = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kDrive = L"\\\\?\\";
    if (final.starts_with(kShare)) {
        return L"\\\\" + final.substr(kShare.size());
    }
    return final.starts_with(kDrive) ? final.substr(kDrive.size()) : final;
}

// The text of an environment variable; empty where it is not set.
std::wstring Environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    std::wstring text(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, text.data(), size);
    return length == 0 || length >= size ? std::wstring() : text.substr(0, length);
}

// The user's roaming application data folder as Windows names it, which no launcher's
// environment changes; empty where it cannot tell. Shell32 is loaded only by a run that reads a
// list.
std::wstring RoamingAppData() {
    const auto folderPath =
        SystemFunction<decltype(&SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    const auto freeMemory = SystemFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (folderPath == nullptr || freeMemory == nullptr) {
        return {};
    }
    PWSTR path = nullptr;
    const HRESULT result = folderPath(kRoamingAppData, KF_FLAG_DONT_VERIFY, nullptr, &path);
    std::wstring folder = SUCCEEDED(result) && path != nullptr ? path : L"";
    freeMemory(path);  // the caller's, whether or not the call succeeded
    return folder;
}

}  // namespace

std::wstring Win32Desktop::ProgramDirectory() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            const std::wstring full = FinalPath(std::wstring(path.data(), length));
            const auto separator = full.find_last_of(L"\\/");
            return separator == std::wstring::npos ? std::wstring() : full.substr(0, separator);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring Win32Desktop::UserListDirectory() {
    std::wstring folder = RoamingAppData();
    if (folder.empty()) {
        folder = Environment(L"APPDATA");
    }
    return folder.empty() ? folder : folder + L"\\Deskglide";
}

FileTest Win32Desktop::TestFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(LongForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return missing ? FileTest::Absent : FileTest::Failed;
    }
    const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & excluded) != 0 ? FileTest::Absent : FileTest::Present;
}

bool Win32Desktop::ReadFileBytes(const std::wstring& path, std::string& bytes,
                                 std::wstring& reason) {
    bytes.clear();
    const FileHandle file = OwnFile(CreateFileW(LongForm(path).c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        reason = SystemReason(GetLastError());
        return false;
    }
    // One allocation for the whole file, where its size is plausible.
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file.get(), &size) != 0 && size.QuadPart > 0 &&
        size.QuadPart < kReserveLimit) {
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    }
    char chunk[65536];
    for (DWORD read = 0;; bytes.append(chunk, read)) {
        if (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) == 0) {
            reason = SystemReason(GetLastError());
            bytes.clear();
            return false;
        }
        if (read == 0) {
            return true;
        }
    }
}
