#include "run/run_sequence.h"

#include <algorithm>

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
    settings.DryRun = false;
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

// A run that moved every window it could but some, which the system did not let it move.
constexpr int kRefusedStatus = 7;

// A field of a dry run's line: tabs and line ends would split it.
std::wstring Field(std::wstring text) {
    std::replace_if(
        text.begin(), text.end(), [](wchar_t c) { return c == L'\t' || c == L'\n' || c == L'\r'; },
        L' ');
    return text;
}

// What a dry run found, as the user reads it: tab-separated lines under a header.
std::wstring PlanText(const RunReport& report) {
    std::wstring text = L"Window\tProgram\tWhere\tOutcome\tDetail\r\n";
    for (const PlanLine& line : report.Plan) {
        text += Field(line.Title) + L"\t" + Field(line.Program) + L"\t" + Field(line.Where) +
                L"\t" + line.Outcome + L"\t" + Field(line.Detail) + L"\r\n";
    }
    return text;
}

}  // namespace

void LoadMainWindow(Desktop& desktop, WindowHandle self, RunReport& report) {
    std::wstring commandText = BuildCommandText(desktop);
    ResetSettings(Settings);
    Settings.DryRun = TakeDryRun(commandText);
    if (AsksForInformation(commandText) && !Settings.DryRun) {
        return;  // the information window, and nothing else: not even a list is read
    }
    ApplyModeLetters(commandText, Settings);
    Settings.WorkArea = desktop.GetWorkArea();
    ReadWindowList(desktop, commandText, Settings);
    ReadSteps(desktop, commandText, Settings);
    if (IsModeSet(Settings)) {
        MoveAllWindows(desktop, Settings, self, report);
    } else if (Settings.DryRun) {
        report.Plan.push_back({L"(the run)", L"", L"", L"moves nothing",
                               L"no mode letter (g, v or h): the information window opens"});
    }
    if (HasLetter(commandText, L'w')) {
        ShiftWallpaper(desktop, Settings, report);
    }
    if (IsModeSet(Settings) || Settings.DryRun) {
        desktop.CloseMainWindow();
    }
}

int RunLoadEvent(Desktop& desktop, WindowHandle self) {
    RunReport report;
    int status = 0;
    try {
        LoadMainWindow(desktop, self, report);
    } catch (const RunError& error) {
        if (Settings.DryRun) {
            report.Plan.push_back({L"(the run)", L"", L"", L"stops", error.Message()});
        } else {
            desktop.ReportError(error.Message());
        }
        desktop.CloseMainWindow();
        status = ExitStatusFor(error.Kind());
    }
    if (Settings.DryRun) {
        desktop.ShowPlan(PlanText(report));
    }
    return status == 0 && report.Refused > 0 ? kRefusedStatus : status;
}
