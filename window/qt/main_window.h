// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The Qt edition of the main window, built from the window's tables.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "logic/commands.h"

class QButtonGroup;

namespace velmora {

class QtFormControls;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Shows an error report and returns once the user has dismissed it.
    using ErrorDisplay = std::function<void(QWidget* parent, const ErrorReport& report)>;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // A message box by default; tests put something in its place that does
    // not wait for a user.
    void SetErrorDisplay(ErrorDisplay display);

    const PairBook& Book() const { return commands_->Book(); }

private:
    void CreateControls();

    std::unique_ptr<QtFormControls> controls_;
    std::unique_ptr<Commands> commands_;
    QButtonGroup* command1_ = nullptr;
};

// The window's font: the tables' family, or its metric-compatible substitute.
QFont FormFont();

}  // namespace velmora
