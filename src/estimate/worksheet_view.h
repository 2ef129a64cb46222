#pragma once
// The narrow view of the worksheet window that the estimate handlers work through.
// Controls are named by their object names (refdata/control_names.h);
// texts are UTF-8.
#include <string>

namespace tf {

class WorksheetView {
public:
    virtual ~WorksheetView() = default;

    // Text of a text box, of a list's text field, or of a label.
    virtual std::string text(const std::string& control) const = 0;
    virtual void setText(const std::string& control, const std::string& text) = 0;

    // Position of a list's selected entry, -1 when none is selected.
    virtual int listIndex(const std::string& list) const = 0;
    // Selects the entry at index; false when the list has no such entry.
    virtual bool setListIndex(const std::string& list, int index) = 0;

    virtual bool isVisible(const std::string& control) const = 0;
    virtual void setVisible(const std::string& control, bool visible) = 0;

    // Moves the input focus; false when the control cannot take it (hidden, disabled).
    // A focus move made here never runs an hours handler.
    virtual bool setFocus(const std::string& control) = 0;

    // Caption of the help label lbHelp.
    virtual void setHelp(const std::string& text) = 0;

    // A modal message box (caption "Tallyforge", one OK button, no icon); returns when
    // the user has closed it.
    virtual void showMessage(const std::string& text) = 0;
};

}  // namespace tf
