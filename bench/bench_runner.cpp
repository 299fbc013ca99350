// Times deskglide.exe against the bare reference pass, interleaved, and prints a table row for
// each thing asked for:   bench_runner [REPETITIONS] [startup | N]...
//   startup  the time from process creation to the first message the run sends to the only
//            window on the desktop: what a run costs before its first window call
//   N        the whole run over N sample windows
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring Folder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

PROCESS_INFORMATION Start(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        ExitProcess(1);
    }
    return info;
}

// Milliseconds from process creation to its end.
double TimeRun(const std::wstring& exe, const std::wstring& arguments) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    PROCESS_INFORMATION info = Start(exe, arguments);
    WaitForSingleObject(info.hProcess, 60000);
    QueryPerformanceCounter(&end);
    DWORD status = 0;
    GetExitCodeProcess(info.hProcess, &status);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    if (status != 0) {
        std::fwprintf(stderr, L"%ls %ls ended with status %lu\n", exe.c_str(), arguments.c_str(),
                      status);
        ExitProcess(1);
    }
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// When the run sent its first message to the probe window (a responsiveness check or a move).
ULONGLONG probeTouched = 0;

ULONGLONG Now() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_NULL || message == WM_WINDOWPOSCHANGING) && probeTouched == 0) {
        probeTouched = Now();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Milliseconds from the process's creation, as the system records it, to its first message to
// the probe window, whose thread answers while it waits.
double TimeToFirstTouch(const std::wstring& exe, const std::wstring& arguments) {
    probeTouched = 0;
    PROCESS_INFORMATION info = Start(exe, arguments);
    while (MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 60000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&m);
        }
    }
    FILETIME created, exited, kernel, user;
    GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    if (probeTouched == 0) {
        std::fwprintf(stderr, L"%ls %ls never touched the probe window\n", exe.c_str(),
                      arguments.c_str());
        ExitProcess(1);
    }
    const ULONGLONG start = (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime;
    return static_cast<double>(probeTouched - start) / 10000.0;  // 100 ns units
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

struct Subject {
    const wchar_t* label;
    std::wstring exe;
    const wchar_t* arguments;
    std::vector<double> times;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repetitions = argc > 1 ? _wtoi(argv[1]) : 7;
    std::vector<int> counts;
    bool startup = false;
    for (int k = 2; k < argc; ++k) {
        if (std::wstring(argv[k]) == L"startup") {
            startup = true;
        } else {
            counts.push_back(_wtoi(argv[k]));
        }
    }
    if (argc <= 2) {
        startup = true;
        counts = {10, 100, 500};
    }
    const std::wstring folder = Folder();
    if (startup) {
        WNDCLASSW probeClass = {};
        probeClass.lpfnWndProc = ProbeProc;
        probeClass.lpszClassName = L"DeskglideProbe";
        RegisterClassW(&probeClass);
        const HWND probe = CreateWindowExW(0, L"DeskglideProbe", L"Probe", WS_POPUP | WS_VISIBLE,
                                           100, 100, 200, 120, nullptr, nullptr, nullptr, nullptr);
        const std::wstring ours = folder + L"\\deskglide.exe";
        const std::wstring reference = folder + L"\\reference_pass.exe";
        TimeToFirstTouch(ours, L"v 1");  // warm-up, not counted
        TimeToFirstTouch(reference, L"v");
        std::vector<double> oursTimes, referenceTimes;
        for (int rep = 0; rep < repetitions; ++rep) {
            oursTimes.push_back(TimeToFirstTouch(ours, L"v 1"));
            referenceTimes.push_back(TimeToFirstTouch(reference, L"v"));
        }
        DestroyWindow(probe);
        const double oursMin = *std::min_element(oursTimes.begin(), oursTimes.end());
        const double referenceMin = *std::min_element(referenceTimes.begin(), referenceTimes.end());
        std::printf(
            "| start-up to the first window call | deskglide v 1 median ms | min | "
            "reference median ms | min | min difference ms |\n");
        std::printf("|---|---|---|---|---|---|\n");
        std::printf("| one window | %.1f | %.1f | %.1f | %.1f | %.1f |\n\n", Median(oursTimes),
                    oursMin, Median(referenceTimes), referenceMin, oursMin - referenceMin);
        std::fflush(stdout);
    }
    if (counts.empty()) {
        return 0;
    }
    std::printf("| N | pass | deskglide median ms | min | reference median ms | min | ratio |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (int count : counts) {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"DeskglideSamplesReady");
        PROCESS_INFORMATION samples =
            Start(folder + L"\\sample_windows.exe", std::to_wstring(count));
        WaitForSingleObject(ready, 60000);
        CloseHandle(ready);
        Subject subjects[] = {
            {L"v 1", folder + L"\\deskglide.exe", L"v 1", {}},
            {L"v 1", folder + L"\\reference_pass.exe", L"v", {}},
            {L"g", folder + L"\\deskglide.exe", L"g", {}},
            {L"g", folder + L"\\reference_pass.exe", L"g", {}},
        };
        for (auto& subject : subjects) {
            TimeRun(subject.exe, subject.arguments);  // warm-up, not counted
        }
        for (int rep = 0; rep < repetitions; ++rep) {
            for (auto& subject : subjects) {
                subject.times.push_back(TimeRun(subject.exe, subject.arguments));
            }
        }
        for (int pair = 0; pair < 2; ++pair) {
            const Subject& ours = subjects[2 * pair];
            const Subject& reference = subjects[2 * pair + 1];
            std::printf("| %d | %ls | %.1f | %.1f | %.1f | %.1f | %.2f |\n", count, ours.label,
                        Median(ours.times), *std::min_element(ours.times.begin(), ours.times.end()),
                        Median(reference.times),
                        *std::min_element(reference.times.begin(), reference.times.end()),
                        Median(ours.times) / Median(reference.times));
        }
        std::fflush(stdout);
        TerminateProcess(samples.hProcess, 0);
        WaitForSingleObject(samples.hProcess, 10000);
        CloseHandle(samples.hProcess);
        CloseHandle(samples.hThread);
    }
    return 0;
}
