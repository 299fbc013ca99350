#include "run/run_sequence.h"

#include "common/run_error.h"
#include "run/command_text.h"
#include "run/parse_steps.h"
#include "wallpaper/shift_wallpaper.h"
#include "windows/mod_enum.h"
#include "windows/window_list.h"

RunSettings Settings;

namespace {

void ResetSettings(RunSettings& settings) {
    settings.MoveVertical = false;
    settings.MoveHorizontal = false;
    settings.GatherWindows = false;
    settings.Mode = ScrollMode::None;
    settings.ListLoaded = false;
    settings.ExcludeMode = false;
}

void ApplyModeLetters(const std::wstring& commandText, RunSettings& settings) {
    if (HasLetter(commandText, L'g')) {
        settings.Mode = ScrollMode::Gather;
        settings.GatherWindows = true;
    }
    if (HasLetter(commandText, L'v')) {
        settings.Mode = ScrollMode::Vertical;
        settings.MoveVertical = true;
    }
    if (HasLetter(commandText, L'h')) {
        settings.Mode = ScrollMode::Horizontal;
        settings.MoveHorizontal = true;
    }
    settings.Direction = static_cast<int16_t>(HasLetter(commandText, L'-') ? -1 : 1);
}

// With s, or a per cent sign after a step, the steps are percentages of the work area.
void ReadSteps(Desktop& desktop, const std::wstring& commandText, RunSettings& settings) {
    const std::wstring separator = desktop.DecimalSeparator();
    const bool percent = HasLetter(commandText, L's') || HasPercentSign(commandText, separator);
    ParseSteps(commandText, settings.VerticalStep, settings.HorizontalStep, percent ? 25 : 50,
               separator);
    if (percent) {
        ScaleStepsToPercent(settings.WorkArea, settings.VerticalStep, settings.HorizontalStep);
    }
}

// e wins over i: at most one list is read. It is looked for beside the exe, then, where it is
// absent there, in the user's own folder, which no update of the program touches.
void ReadWindowList(Desktop& desktop, const std::wstring& commandText, RunSettings& settings) {
    settings.ExcludeMode = HasLetter(commandText, L'e');
    if (!settings.ExcludeMode && !HasLetter(commandText, L'i')) {
        return;
    }
    const std::wstring name = settings.ExcludeMode ? L"\\exclude.txt" : L"\\include.txt";
    LoadWindowList(desktop, settings, desktop.ProgramDirectory() + name);
    if (settings.ListLoaded) {
        return;
    }
    const std::wstring userFolder = desktop.UserListDirectory();
    if (!userFolder.empty()) {
        LoadWindowList(desktop, settings, userFolder + name);
    }
}

bool IsModeSet(const RunSettings& settings) { return settings.Mode > ScrollMode::None; }

}  // namespace

void LoadMainWindow(Desktop& desktop, WindowHandle self) {
    const std::wstring commandText = BuildCommandText(desktop);
    ResetSettings(Settings);
    if (AsksForInformation(commandText)) {
        return;  // the information window, and nothing else: not even a list is read
    }
    ApplyModeLetters(commandText, Settings);
    Settings.WorkArea = desktop.GetWorkArea();
    ReadWindowList(desktop, commandText, Settings);
    ReadSteps(desktop, commandText, Settings);
    if (IsModeSet(Settings)) {
        MoveAllWindows(desktop, Settings, self);
    }
    if (HasLetter(commandText, L'w')) {
        ShiftWallpaper(desktop, Settings);
    }
    if (IsModeSet(Settings)) {
        desktop.CloseMainWindow();
    }
}

int RunLoadEvent(Desktop& desktop, WindowHandle self) {
    try {
        LoadMainWindow(desktop, self);
        return 0;
    } catch (const RunError& error) {
        desktop.ReportError(error.Message());
        desktop.CloseMainWindow();
        return ExitStatusFor(error.Kind());
    }
}
