#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>

inline constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// A value as the registry holds it, so that it can be put back exactly.
struct RawValue {
    DWORD type = REG_SZ;
    std::string bytes;
    bool operator==(const RawValue&) const = default;
};

void PrintTo(const RawValue& value, std::ostream* out);

std::optional<RawValue> ReadRaw(const wchar_t* subkey, const wchar_t* name);
// Writes the value exactly, or deletes it when there is none.
void WriteRaw(const wchar_t* subkey, const wchar_t* name, const std::optional<RawValue>& value);
// Stores ANSI bytes as they are, with no NUL added: the registry's raw form of a value.
void WriteAnsi(const wchar_t* subkey, const char* name, DWORD type, const std::string& bytes);

// The text of a REG_SZ value of the desktop key, or nothing when it is absent or of another type.
std::optional<std::wstring> ReadText(const wchar_t* name);
void WriteText(const wchar_t* name, const std::wstring& text);

// The three desktop values the wallpaper shift uses.
inline constexpr const wchar_t* kDesktopValueNames[] = {L"Wallpaper", L"WallpaperOriginX",
                                                        L"WallpaperOriginY"};
constexpr size_t kDesktopValueCount = std::size(kDesktopValueNames);

// Keeps the user's real desktop settings: saved when made, put back exactly when destroyed.
class SavedDesktopValues {
  public:
    SavedDesktopValues();
    ~SavedDesktopValues();
    SavedDesktopValues(const SavedDesktopValues&) = delete;
    SavedDesktopValues& operator=(const SavedDesktopValues&) = delete;

  private:
    std::optional<RawValue> saved_[kDesktopValueCount];
};
