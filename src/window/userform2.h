#pragma once
// The worksheet window and its 52 controls. The controls' texts, entries and
// selections are the program's only data; the handlers read and write them through
// the narrow WorksheetView.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "estimate/money.h"

class QLineEdit;

namespace tf {

class WindowView;

class UserForm2 : public QWidget {
    Q_OBJECT

public:
    explicit UserForm2(const RegionalSettings& settings = worksheetSettings(RegionalSettings::fromEnvironment()),
                       QWidget* parent = nullptr);
    ~UserForm2() override;

    // The control with this object name, in the controls now shown (nullptr if none).
    QWidget* control(const QString& name) const;
    const RegionalSettings& settings() const { return settings_; }

    // The commands of the four push buttons and of the jurisdiction list.
    void update();
    void printForm();
    void clearForm();
    void closeAndExit();
    void chooseState();

    // Gives the focus to the jurisdiction list, as at start-up.
    void focusStart();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class WindowView;

    void buildControls();
    void initialise();
    int hoursRow(const QObject* widget) const;
    void runHoursHandler(int row);
    bool preMousePress(QEvent* event);
    void restoreStateText(QObject* watched, Qt::FocusReason reason);
    void runCommand(const QString& button);

    RegionalSettings settings_;
    std::unique_ptr<WindowView> view_;
    QWidget* controls_ = nullptr;  // parent of the 52 controls; replaced by Clear Form
    QLineEdit* hoursBoxes_[5] = {};
    QPointer<QWidget> handledByPress_;  // hours box whose handler already ran for a click
    int busy_ = 0;                      // > 0 while a reaction runs
    int messages_ = 0;                  // message boxes shown so far
    bool closing_ = false;
    bool windowFilterInstalled_ = false;
};

}  // namespace tf
