// The worksheet's calculations. Everything works on the texts of the window's controls
// through WorksheetView: read, convert, compute, write back. Nothing survives a call.
#include "estimate/estimate.h"

#include <array>
#include <string>

#include "estimate/messages.h"
#include "refdata/cost_table.h"

namespace tf {

namespace {

// A window operation that did not happen (a list without the entry, a box that would
// not take the focus). It ends a handler's steps like a failed conversion does.
struct WindowOperationFailed {};

// Moves the focus to a control; a hidden control is never asked.
bool moveFocus(WorksheetView& view, const char* control) {
    return view.isVisible(control) && view.setFocus(control);
}

void requireFocus(WorksheetView& view, const char* control) {
    if (!moveFocus(view, control)) throw WindowOperationFailed{};
}

// The five texts of one column of rows (hours or category costs), as amounts, added in
// row order.
Money sumOfColumn(const WorksheetView& view, const char* RowControls::* column,
                  const RegionalSettings& settings) {
    std::array<Money, kRowCount> values;
    for (std::size_t row = 0; row < kRowCount; ++row) {
        values[row] = ParseMoney(view.text(kRows[row].*column), settings);
    }
    return SumOf5(values[0], values[1], values[2], values[3], values[4]);
}

}  // namespace

Estimate::Estimate(WorksheetView& view, const RegionalSettings& settings)
    : view_(view), settings_(settings) {}

void Estimate::stateChosen() {
    const int index = view_.listIndex(name::cbState);
    if (index < 0) return;  // nothing chosen: leave the worksheet as it is

    // With the built-in table nothing here can fail. Should a step fail anyway (a list
    // without the entry, a text that does not read as an amount), the choice ends at
    // that step: what is written stays, the rest does not happen.
    try {
        for (const char* list : kColumnLists) {
            if (!view_.setListIndex(list, index)) return;
        }
        for (const RowControls& row : kRows) {
            const Money salary = ParseMoney(view_.text(row.salary), settings_);
            const Money ast = ParseMoney(view_.text(row.ast), settings_);
            const Money nps = ParseMoney(view_.text(row.nps), settings_);
            view_.setText(row.average, FormatMoney(SumOf3(salary, ast, nps), settings_));
        }
        for (const RowControls& row : kRows) view_.setVisible(row.hours, true);
        requireFocus(view_, kRows[0].hours);
        view_.setHelp(kChooseHelp);
    } catch (const MoneyError&) {
        return;
    } catch (const WindowOperationFailed&) {
        return;
    }
    update();
}

Estimate::Outcome Estimate::hoursLeft(int row) {
    if (row < 0 || row >= static_cast<int>(kRowCount)) return Outcome::Done;
    const RowControls& controls = kRows[row];

    bool warned = false;
    try {
        view_.setHelp(row == static_cast<int>(kRowCount) - 1 ? kCompleteHelp : kContinueHelp);

        // Sign check. A negative value is reported, but the costs are still worked out
        // with it.
        if (ParseNumber(view_.text(controls.hours), settings_) < 0) {
            view_.showMessage(kNegativeHours);
            warned = true;
            requireFocus(view_, controls.hours);
        }

        // Category cost: the average hourly cost shown times the hours typed, exact to
        // the cent, so a figure checked by hand agrees with the sheet.
        view_.setText(controls.cost,
                      FormatProductRoundedHalfAwayFromZero(view_.text(controls.average),
                                                           view_.text(controls.hours), settings_));

        // Totals over all five rows, as the texts on screen show them.
        view_.setText(name::tbTotal,
                      FormatMoney(sumOfColumn(view_, &RowControls::cost, settings_), settings_));
        view_.setText(name::tbTotHours, FormatWholeNumber(
                                       sumOfColumn(view_, &RowControls::hours, settings_),
                                       settings_));
        return warned ? Outcome::Warned : Outcome::Done;
    } catch (const MoneyError&) {
    } catch (const WindowOperationFailed&) {
    }

    // Recovery: one message whatever went wrong, the box back to "0" and the focus in it.
    // The costs and totals keep what they show.
    view_.showMessage(kBlankHours);
    view_.setText(controls.hours, "0");
    return moveFocus(view_, controls.hours) ? Outcome::Recovered : Outcome::NotFocusable;
}

void Estimate::update() {
    for (int row = 0; row < static_cast<int>(kRowCount); ++row) {
        // A box that cannot take the focus means the worksheet is not open for input yet
        // (no jurisdiction chosen): one message is enough.
        if (hoursLeft(row) == Outcome::NotFocusable) return;
    }
}

}  // namespace tf
