#pragma once
// What the hours handlers tell the user: the help line after each step and the two
// messages about an hours box.
namespace tf {

inline constexpr const char* kChooseHelp =
    "Highlight the '0' in the Hours Field and enter the estimated number of hours for this "
    "activity.  Press the Tab Key.";
inline constexpr const char* kContinueHelp =
    "Continue to highlight the '0' and enter the estimated hours for this activity. Press the "
    "Tab Key.";
inline constexpr const char* kCompleteHelp =
    "You have now entered all of the information for this form.  The form can be printed at "
    "the default printer.";
inline constexpr const char* kNegativeHours = "Hours value cannot be less than zero";
inline constexpr const char* kBlankHours =
    "You cannot have a blank hours field, must be zero or greater";

}  // namespace tf
