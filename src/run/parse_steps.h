#pragma once

#include <cstdint>
#include <string>

#include "common/rect.h"

// Reads the steps off the end of the command text: the last number is the horizontal step and
// the one before it the vertical step; a single number sets both, no number leaves both at
// `defaultStep`. Only U+0020 separates tokens. A per cent sign directly after a number is read
// past.
void ParseSteps(const std::wstring& text, int32_t& vertical, int32_t& horizontal,
                int32_t defaultStep, const std::wstring& decimalSeparator);

// True where a step is written with a per cent sign directly after its number, which makes
// the steps percentages as the letter s does.
bool HasPercentSign(const std::wstring& text, const std::wstring& decimalSeparator);

// Turns percentage steps into pixels: the vertical step against the work area's bottom
// coordinate, the horizontal one against its right coordinate.
void ScaleStepsToPercent(const Rect& workArea, int32_t& vertical, int32_t& horizontal);
