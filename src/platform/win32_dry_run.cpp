// A dry run: the programs that windows belong to, and what the run found, shown to the user.
#include <windows.h>

#include <string>

#include "platform/win32_desktop.h"
#include "platform/win32_dpi.h"
#include "platform/win32_handles.h"
#include "resource.h"

namespace {

constexpr wchar_t kPlanClass[] = L"DeskglideDryRun";
constexpr int kPlanWidth = 900;  // pixels at 96 DPI
constexpr int kPlanHeight = 420;

// The mandatory integrity level of the process (SECURITY_MANDATORY_*_RID); 0 where the system
// does not tell.
DWORD IntegrityLevel(HANDLE process) {
    HANDLE opened = nullptr;
    if (OpenProcessToken(process, TOKEN_QUERY, &opened) == 0) {
        return 0;
    }
    const FileHandle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    std::string label(size, '\0');
    if (size == 0 ||
        GetTokenInformation(token.get(), TokenIntegrityLevel, label.data(), size, &size) == 0) {
        return 0;
    }
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(label.data())->Label.Sid;
    return *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1U);
}

struct PlanWindowState {
    HWND text = nullptr;
    FontHandle font;
};

void ApplyPlanDpi(HWND window, UINT dpi) {
    auto& state = *reinterpret_cast<PlanWindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    FontHandle font(CreateMessageFont(dpi));
    SendMessageW(state.text, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    state.font = std::move(font);
}

LRESULT CALLBACK PlanWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<PlanWindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_SIZE:
            if (state != nullptr && state->text != nullptr) {
                MoveWindow(state->text, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            }
            return 0;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            ApplyPlanDpi(window, LOWORD(wParam));
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// In a window of its own, resizable, its text selectable and copyable; Esc closes it.
void ShowPlanWindow(const std::wstring& text) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PlanWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_DESKGLIDE));
    windowClass.lpszClassName = kPlanClass;
    RegisterClassW(&windowClass);
    PlanWindowState state;
    const HWND window =
        CreateWindowExW(0, kPlanClass, L"Deskglide: dry run", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, kPlanWidth, kPlanHeight, nullptr, nullptr, instance, &state);
    if (window == nullptr) {
        return;
    }
    state.text = CreateWindowExW(0, L"EDIT", text.c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                     ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                 0, 0, 0, 0, window, nullptr, instance, nullptr);
    // Columns wide enough for most titles, programs and places, in quarters of a character.
    const int columns[] = {150, 240, 330, 370};
    SendMessageW(state.text, EM_SETTABSTOPS, 4, reinterpret_cast<LPARAM>(columns));
    const UINT dpi = ShownDpi(window);
    ApplyPlanDpi(window, dpi);
    SetWindowPos(window, nullptr, 0, 0, MulDiv(kPlanWidth, static_cast<int>(dpi), 96),
                 MulDiv(kPlanHeight, static_cast<int>(dpi), 96), SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(state.text);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            DestroyWindow(window);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

WindowProgram Win32Desktop::ReadProgram(WindowHandle window) {
    DWORD id = 0;
    GetWindowThreadProcessId(ToHwnd(window), &id);
    WindowProgram program;
    program.Answers = ThreadAnswers(window);
    const FileHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) {
        return program;
    }
    std::wstring path(MAX_PATH, L'\0');
    auto size = static_cast<DWORD>(path.size());
    if (QueryFullProcessImageNameW(process.get(), 0, path.data(), &size) != 0) {
        path.resize(size);
        program.Name = path.substr(path.find_last_of(L'\\') + 1);
    }
    // Windows refuses a program's moves of windows whose process has a higher integrity level
    // (User Interface Privilege Isolation): those of programs that run as administrator.
    const DWORD theirs = IntegrityLevel(process.get());
    const DWORD ours = IntegrityLevel(GetCurrentProcess());
    program.MoreRights = theirs != 0 && ours != 0 && theirs > ours;
    return program;
}

void Win32Desktop::ShowPlan(const std::wstring& text) { plan_ = text; }

void Win32Desktop::ShowPlanNow() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type =
        out == nullptr || out == INVALID_HANDLE_VALUE ? FILE_TYPE_UNKNOWN : GetFileType(out);
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) {
        ShowPlanWindow(*plan_);
        return;
    }
    const int length = static_cast<int>(plan_->size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, plan_->data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, plan_->data(), length, bytes.data(), size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
