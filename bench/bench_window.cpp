// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The Qt window end to end, one click at a time, at 1,000, 32,767 and 100,000
// entries, beside Qt's own floor for the same widget work: a bare QPushButton
// whose click fills Qt's standard widgets (an editable QComboBox, a
// QListWidget, a QPlainTextEdit) directly with the same texts, made
// beforehand. Typing is outside the timing. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>
#include <algorithm>
#include <chrono>
#include <vector>
#include <memory>

#include "window/qt/main_window.h"

using velmora::MainWindow;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The window with `count` entries typed and entered: texts of up to four
// characters after a first one of `digits` characters.
class FilledWindow {
public:
    FilledWindow(std::int64_t count, int digits)
    {
        window_.show();
        combo_ = window_.findChild<QComboBox*>(QStringLiteral("Combo1"));
        for (int i = 0; i < 3; ++i) {
            buttons_[i] = window_.findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(i));
        }
        Enter(QString(digits, '1'));
        for (std::int64_t i = 1; i < count; ++i) {
            Enter(QString::number(1 + i % (digits == 1 ? 9 : 9999)));
        }
        QApplication::processEvents();
    }

    void Enter(const QString& text)
    {
        Type(text);
        Click(velmora::kInputNumber);
    }
    void Type(const QString& text) { combo_->setEditText(text); }
    void Click(int index) { buttons_[index]->click(); }

private:
    MainWindow window_;
    QComboBox* combo_ = nullptr;
    QPushButton* buttons_[3] = {};
};

void EnterWithoutRebuild(benchmark::State& state)
{
    FilledWindow window(state.range(0), 4);
    for (auto _ : state) {
        window.Type(QStringLiteral("4242"));
        const auto start = Clock::now();
        window.Click(velmora::kInputNumber);
        state.SetIterationTime(Seconds(start));
    }
}

void EnterWithRebuild(benchmark::State& state)
{
    auto window = std::make_unique<FilledWindow>(state.range(0), 1);
    int length = 2;
    for (auto _ : state) {
        window->Type(QString(length, '4'));
        const auto start = Clock::now();
        window->Click(velmora::kInputNumber);
        state.SetIterationTime(Seconds(start));
        if (++length > 9) {  // the maximal sum has nine digits: start again
            window = std::make_unique<FilledWindow>(state.range(0), 1);
            length = 2;
        }
    }
}

void Output(benchmark::State& state)
{
    FilledWindow window(state.range(0), 4);
    for (auto _ : state) {
        const auto start = Clock::now();
        window.Click(velmora::kOutputPairs);
        state.SetIterationTime(Seconds(start));
    }
}

void Clear(benchmark::State& state)
{
    for (auto _ : state) {
        FilledWindow window(state.range(0), 4);
        window.Click(velmora::kOutputPairs);
        const auto start = Clock::now();
        window.Click(velmora::kClearAll);
        state.SetIterationTime(Seconds(start));
    }
}

// Qt's floor: a bare button whose click puts the same texts straight into
// Qt's standard widgets.
class BareWidgets {
public:
    enum class Work { Enter, Refill, Output, Clear };

    explicit BareWidgets(std::int64_t count)
    {
        combo_ = new QComboBox(&window_);
        combo_->setEditable(true);
        list_ = new QListWidget(&window_);
        list_->hide();
        report_ = new QPlainTextEdit(&window_);
        // Placed and set up as the window's own, so that the text is laid
        // out alike.
        combo_->setGeometry(40, 64, 89, 27);
        report_->setGeometry(8, 184, 449, 121);
        report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        report_->setReadOnly(true);
        button_ = new QPushButton(&window_);
        QObject::connect(button_, &QPushButton::clicked, [this] { Do(); });
        window_.setFont(velmora::FormFont());  // text is laid out alike
        window_.resize(461, 315);
        window_.show();
        for (std::int64_t i = 0; i < count; ++i) {
            entries_ << QString::number(1 + i % 9999);
            complements_ << QString::number(9999 - (1 + i % 9999));
            reportText_ += entries_.back() + " + " + complements_.back() + " = 9999\r\n";
        }
        combo_->addItems(entries_);
        list_->addItems(complements_);
        QApplication::processEvents();
    }

    void Click(Work work)
    {
        work_ = work;
        button_->click();
    }

private:
    void Do()
    {
        switch (work_) {
        case Work::Enter:
            combo_->addItem(QStringLiteral("4242"));
            list_->addItem(QStringLiteral("5757"));
            break;
        case Work::Refill:
            combo_->addItem(QStringLiteral("4242"));
            list_->clear();
            list_->addItems(complements_);
            break;
        case Work::Output:
            report_->setPlainText(reportText_);
            return;
        case Work::Clear:
            combo_->clear();
            list_->clear();
            report_->setPlainText(QString());
            break;
        }
        combo_->setEditText(QString());
        combo_->setFocus();
        combo_->lineEdit()->selectAll();
    }

    QWidget window_;
    QComboBox* combo_;
    QListWidget* list_;
    QPlainTextEdit* report_;
    QPushButton* button_;
    QStringList entries_, complements_;
    QString reportText_;
    Work work_ = Work::Enter;
};

// One click's work on the bare widgets, again and again on the same widgets.
void Floor(benchmark::State& state, BareWidgets::Work work)
{
    BareWidgets bare(state.range(0));
    for (auto _ : state) {
        const auto start = Clock::now();
        bare.Click(work);
        state.SetIterationTime(Seconds(start));
    }
}

void FloorClear(benchmark::State& state)
{
    for (auto _ : state) {
        BareWidgets bare(state.range(0));
        bare.Click(BareWidgets::Work::Output);
        const auto start = Clock::now();
        bare.Click(BareWidgets::Work::Clear);
        state.SetIterationTime(Seconds(start));
    }
}

}  // namespace

// Medians of three runs: the figures of one run vary by a tenth or so.
#define AT_EACH_SIZE                                                                    \
    Arg(1000)->Arg(32767)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond) \
        ->Repetitions(3)->ReportAggregatesOnly(true)
BENCHMARK(EnterWithoutRebuild)->AT_EACH_SIZE;
BENCHMARK_CAPTURE(Floor, Enter, BareWidgets::Work::Enter)->AT_EACH_SIZE;
BENCHMARK(EnterWithRebuild)->AT_EACH_SIZE->Iterations(16);
BENCHMARK_CAPTURE(Floor, EnterWithRebuild, BareWidgets::Work::Refill)->AT_EACH_SIZE->Iterations(16);
BENCHMARK(Output)->AT_EACH_SIZE->Iterations(10);
BENCHMARK_CAPTURE(Floor, Output, BareWidgets::Work::Output)->AT_EACH_SIZE->Iterations(10);
BENCHMARK(Clear)->AT_EACH_SIZE->Iterations(3);
BENCHMARK(FloorClear)->AT_EACH_SIZE->Iterations(3);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit() + "/velmora-bench-runtime");
        QDir().mkpath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
        QFile::setPermissions(qEnvironmentVariable("XDG_RUNTIME_DIR"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
