#pragma once
// The worksheet window and its 52 controls. The controls' texts, entries and
// selections are the program's only data; the handlers read and write them through
// the narrow WorksheetView.
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "estimate/settings.h"
#include "money/settings_reader.h"

class QScrollArea;

namespace tf {

class HoursBox;
class WindowView;

class UserForm2 : public QWidget {
    Q_OBJECT

public:
    // Under the user's regional settings, checked against the cost table when a handler
    // first needs them: nothing the window shows at first depends on them, and it comes up
    // without waiting for the check.
    UserForm2();
    explicit UserForm2(const RegionalSettings& settings, QWidget* parent = nullptr);
    ~UserForm2() override;

    // The control with this object name, in the controls now shown (nullptr if none).
    QWidget* control(const QString& name) const;

    // Gives the focus to the jurisdiction list, as at start-up.
    void focusStart();

    // The whole worksheet at its full size, every control on it: what Print Form prints.
    // Where the screen is smaller, the window shows part of it and scrolls.
    QWidget& sheet() const { return *sheet_; }

public slots:
    // The commands of the four push buttons and of the jurisdiction list; once the window
    // is closing, none of them does anything.
    void updateCosts();
    void printForm();
    void clearForm();
    void closeAndExit();
    void chooseState();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    UserForm2(std::optional<RegionalSettings> settings, QWidget* parent);
    const RegionalSettings& settings();
    void buildControls();
    void initialise();
    bool runHoursHandler(const HoursBox& box);
    void hoursBoxLeft(HoursBox* box);
    bool preMousePress(const QMouseEvent& mouse);
    void fitScreen(bool place);

    std::optional<RegionalSettings> settings_;  // none until first needed
    std::unique_ptr<WindowView> view_;
    QScrollArea* scroll_ = nullptr;     // shows the sheet, with scroll bars only on a small screen
    QWidget* sheet_ = nullptr;          // the worksheet at its full size
    QWidget* controls_ = nullptr;       // parent of the 52 controls; replaced by Clear Form
    QPointer<HoursBox> handledByPress_;  // hours box whose handler already ran for a click
    bool busy_ = false;                  // a command or handler is running
    bool closing_ = false;               // the window is going: nothing reacts any more
    bool windowFilterInstalled_ = false;
    QMetaObject::Connection workArea_;       // the work area of the window's screen changed
    QMetaObject::Connection focusFollower_;  // scrolls the focus into view
};

}  // namespace tf
