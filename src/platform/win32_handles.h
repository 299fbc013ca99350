#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>

#include "platform/desktop.h"

// The logic's opaque window handle and the system's.
inline HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}
inline WindowHandle FromHwnd(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

// The function `name` of the system DLL `library`, loaded from system32 (once loaded, it stays);
// null where either is missing. Functions of newer Windows are looked up at run time, so that the
// exe keeps importing only what every Windows version has, and runs where they are missing.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // GetProcAddress returns a generic pointer; the cast to the real signature is the point.
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Owners of Win32 handles: each closes its handle when it goes, on every path, a throw included.

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FileCloser>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null: the owner is then empty.
inline FileHandle OwnFile(HANDLE file) {
    return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// Only for icons the program made (LoadImageW without LR_SHARED); shared ones are not destroyed.
struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// A mutex this process holds: released, then closed.
struct MutexReleaser {
    void operator()(HANDLE mutex) const {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
};
using HeldMutex = std::unique_ptr<std::remove_pointer_t<HANDLE>, MutexReleaser>;
