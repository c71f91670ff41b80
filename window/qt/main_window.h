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

protected:
    // Zoom: Ctrl+mouse wheel anywhere in the window, one step per notch;
    // resizing the window makes the form fit it.
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void CreateZoomKeys();
    // One zoom step up (direction > 0) or down (< 0), or 100 % (0).
    void Zoom(int direction);
    // Every control placed and sized at the zoom factor, the form centred.
    void LayOut();

    double zoom_ = 1.0;
    int wheelTurn_ = 0;  // eighths of a degree not yet turned into a step

    std::unique_ptr<QtFormControls> controls_;
    std::unique_ptr<Commands> commands_;
    QButtonGroup* command1_ = nullptr;
};

// The window's font: the tables' family, or its metric-compatible substitute.
QFont FormFont();

}  // namespace velmora
