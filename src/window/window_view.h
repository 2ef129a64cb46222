#pragma once
// The window as the handlers and the initialisation see it: controls named by their
// object names, texts as UTF-8.
#include <QHash>
#include <QString>

#include "estimate/worksheet_view.h"
#include "estimate/initialise.h"

class QWidget;

namespace tf {

class WindowView final : public WorksheetView, public WorksheetLists {
public:
    // Message boxes open over `window`.
    explicit WindowView(QWidget& window) : window_(window) {}

    // The controls now shown, by object name (replaced by Clear Form).
    void reset(QHash<QString, QWidget*> controls) { controls_ = std::move(controls); }
    // The control with this name, nullptr if there is none.
    QWidget* control(const QString& name) const { return controls_.value(name, nullptr); }

    std::string text(const std::string& control) const override;
    void setText(const std::string& control, const std::string& text) override;
    int listIndex(const std::string& list) const override;
    bool setListIndex(const std::string& list, int index) override;
    bool isVisible(const std::string& control) const override;
    void setVisible(const std::string& control, bool visible) override;
    bool setFocus(const std::string& control) override;
    void setHelp(const std::string& text) override;
    void showHelp() override;
    void showMessage(const std::string& text) override;
    void appendEntry(const std::string& list, const std::string& text) override;
    void appendEntries(const std::string& list, const std::vector<std::string>& texts) override;

private:
    QWidget* widget(const std::string& name) const;

    QWidget& window_;
    QHash<QString, QWidget*> controls_;
};

}  // namespace tf
