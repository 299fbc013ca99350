#pragma once

#include <stdexcept>
#include <string>

// The errors that stop a run. The run sequence reports the message to the user and ends the
// process with the kind's exit status.
enum class RunErrorKind { Overflow, Conversion, ListUnreadable };

class RunError : public std::runtime_error {
  public:
    RunError(RunErrorKind kind, std::wstring message);
    RunErrorKind Kind() const { return kind_; }
    const std::wstring& Message() const { return message_; }

  private:
    RunErrorKind kind_;
    std::wstring message_;
};

// Text a user gave, in quotes for a message; cut when long, so that the box fits the screen.
std::wstring Quoted(const std::wstring& text);

// Process exit status for a run stopped by an error of this kind; success is 0.
int ExitStatusFor(RunErrorKind kind);

[[noreturn]] void RaiseOverflow(const std::wstring& what, const std::wstring& value);
[[noreturn]] void RaiseConversion(const std::wstring& what, const std::wstring& text);
