#pragma once

#include <string>
#include <vector>

// One line of what a dry run found: a window's title, its program, where it is, and whether
// the run would move it ("moves", with where to) or not ("stays", with the reason); or a
// wallpaper origin, with what would become of it.
struct PlanLine {
    std::wstring Title;
    std::wstring Program;
    std::wstring Where;
    std::wstring Outcome;
    std::wstring Detail;
};

// What a run found that the user is told of afterwards.
struct RunReport {
    std::vector<PlanLine> Plan;  // a dry run's: a line a visible window, then the wallpaper's
    int Refused = 0;             // windows the system did not let the run move
};
