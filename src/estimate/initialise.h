#pragma once
// The worksheet initialisation: fills the sixteen lists from the cost table and shows
// the first instruction. It runs when the window is created and again after Clear Form.
#include <string>
#include <vector>

namespace tf {

inline constexpr const char* kFirstInstruction =
    "Select a State from the Drop Down box titled 'Select a State' and hit the tab key";

// What the initialisation needs of the window.
class WorksheetLists {
public:
    virtual ~WorksheetLists() = default;
    // Appends an entry at the end of a list; selects nothing.
    virtual void appendEntry(const std::string& list, const std::string& text) = 0;
    // Appends these entries at the end of a list, in this order; selects nothing. A window
    // fills a list faster in one go than entry by entry.
    virtual void appendEntries(const std::string& list, const std::vector<std::string>& texts) {
        for (const std::string& text : texts) appendEntry(list, text);
    }
    virtual void setHelp(const std::string& text) = 0;
    virtual void showHelp() = 0;
};

void initialiseWorksheet(WorksheetLists& lists);

}  // namespace tf
