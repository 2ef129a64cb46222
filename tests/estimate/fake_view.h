#pragma once
// A worksheet without a window: every control of the estimate as a record of text,
// list entries, selection and visibility, in the state the window starts in, with a
// log of what the handlers did to it.
#include <map>
#include <string>
#include <vector>

#include "estimate/estimate.h"
#include "estimate/worksheet_view.h"
#include "refdata/cost_table.h"

namespace tf::testing {

class FakeView : public WorksheetView {
public:
    struct Control {
        std::string text;
        std::vector<std::string> entries;  // lists only
        int index = -1;                    // lists only
        bool visible = true;
        bool focusable = true;  // false: refuses the focus even when visible
        long lastWrite = 0;     // sequence number of the last setText, 0 = never
    };

    // One call of the handlers, in order: "message", "focus", "focus-refused", "help".
    struct Event {
        std::string kind;
        std::string detail;
        bool operator==(const Event&) const = default;
    };

    FakeView() {
        controls_["cbState"].text = "Select a State First";
        for (const Jurisdiction& j : kCostTable) controls_["cbState"].entries.push_back(j.name);
        for (std::size_t column = 0; column < kColumnCount; ++column) {
            Control& list = controls_[std::string(kColumnLists[column])];
            for (const Jurisdiction& j : kCostTable) list.entries.push_back(j.cells[column]);
        }
        for (const RowControls& row : kRows) {
            controls_[row.average].text = "";
            controls_[row.hours].text = "0";
            controls_[row.hours].visible = false;
            controls_[row.cost].text = "0";
        }
        controls_["tbTotal"].text = "0";
        controls_["tbTotHours"].text = "0";
        controls_["lbHelp"].text = "";
    }

    // --- WorksheetView
    std::string text(const std::string& name) const override {
        const Control* c = find(name);
        return c ? c->text : std::string();
    }
    void setText(const std::string& name, const std::string& text) override {
        if (Control* c = find(name)) {
            c->text = text;
            c->lastWrite = ++sequence_;
        }
    }
    int listIndex(const std::string& name) const override {
        const Control* c = find(name);
        return c ? c->index : -1;
    }
    bool setListIndex(const std::string& name, int index) override {
        Control* c = find(name);
        if (!c || index < -1 || index >= static_cast<int>(c->entries.size())) return false;
        c->index = index;
        c->text = index < 0 ? std::string() : c->entries[index];
        return true;
    }
    bool isVisible(const std::string& name) const override {
        const Control* c = find(name);
        return c && c->visible;
    }
    void setVisible(const std::string& name, bool visible) override {
        if (Control* c = find(name)) c->visible = visible;
    }
    bool setFocus(const std::string& name) override {
        Control* c = find(name);
        if (!c || !c->visible || !c->focusable) {
            if (c && !c->visible) ++hiddenFocusCalls;
            events.push_back({"focus-refused", name});
            return false;
        }
        focus = name;
        events.push_back({"focus", name});
        return true;
    }
    void setHelp(const std::string& text) override {
        controls_["lbHelp"].text = text;
        events.push_back({"help", text});
    }
    void showMessage(const std::string& text) override {
        messages.push_back(text);
        events.push_back({"message", text});
    }

    // --- For the tests
    Control& operator[](const std::string& name) { return controls_.at(name); }
    const std::map<std::string, Control>& controls() const { return controls_; }

    // Every text of the worksheet, to compare two states.
    std::map<std::string, std::string> texts() const {
        std::map<std::string, std::string> all;
        for (const auto& [name, c] : controls_) all[name] = c.text;
        return all;
    }

    // The user picks entry `index` of cbState.
    void choose(int index) {
        controls_["cbState"].index = index;
        controls_["cbState"].text = controls_["cbState"].entries.at(index);
    }

    void clearLog() {
        messages.clear();
        events.clear();
        hiddenFocusCalls = 0;
    }

    std::vector<std::string> messages;
    std::vector<Event> events;
    std::string focus = "cbState";
    int hiddenFocusCalls = 0;
    // Names the handlers asked for that the worksheet does not have.
    mutable std::vector<std::string> unknown;

private:
    Control* find(const std::string& name) const {
        auto it = controls_.find(name);
        if (it == controls_.end()) {
            unknown.push_back(name);
            return nullptr;
        }
        return const_cast<Control*>(&it->second);
    }

    std::map<std::string, Control> controls_;
    long sequence_ = 0;
};

}  // namespace tf::testing
