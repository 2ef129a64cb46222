#pragma once
// The worksheet's calculations: the jurisdiction choice, the five hours handlers and
// the Update command. They keep nothing between events: every run reads the texts it
// needs from the view, computes, and writes texts back.
#include "estimate/worksheet_view.h"
#include "money/money.h"
#include "refdata/control_names.h"

namespace tf {

class Estimate {
public:
    // How an hours handler ended.
    enum class Outcome {
        Done,            // every step ran, no message
        Warned,          // every step ran after the negative-hours message
        Recovered,       // a step failed; the recovery ran and put the focus back
        NotFocusable,    // a step failed and the hours box could not take the focus
    };
    // Whether the user was shown a message: a click that left the box is then used up.
    static constexpr bool showedMessage(Outcome outcome) { return outcome != Outcome::Done; }

    Estimate(WorksheetView& view, const RegionalSettings& settings);

    // Click of cbState: an entry of the list has been chosen.
    void stateChosen();
    // LostFocus of the hours box of row 0..4, also called by update().
    Outcome hoursLeft(int row);
    // Click of cbUpdate, also the last step of stateChosen().
    void update();

private:
    WorksheetView& view_;
    const RegionalSettings& settings_;
};

}  // namespace tf
