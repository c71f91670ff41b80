// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Start-up, from process start to the window shown, of the Velmora window
// beside a bare Qt window of the same size and beside the floor: the same
// nine controls as plain Qt widgets with their texts; and the peak memory of the
// process with an empty pair book and with 100,000 entries. Each figure
// comes from a fresh process of startup_probe, run offscreen.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Probe {
    double secondsToShown = 0;
    long peakKibibytes = 0;
};

// Runs startup_probe with the given arguments and reads what it says.
Probe RunProbe(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), VELMORA_STARTUP_PROBE);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int pipe[2];
    if (::pipe(pipe) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe[0]);

    Probe probe;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        close(pipe[1]);
        FILE* output = fdopen(pipe[0], "r");
        char line[64];
        if (std::fgets(line, sizeof line, output)) {  // "shown"
            probe.secondsToShown =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        if (std::fgets(line, sizeof line, output)) {
            probe.peakKibibytes = std::atol(line);
        }
        std::fclose(output);
        int status = 0;
        waitpid(pid, &status, 0);
    } else {
        close(pipe[0]);
        close(pipe[1]);
    }
    posix_spawn_file_actions_destroy(&actions);
    return probe;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The windows take turns, so that a busy machine slows each of them alike:
// each round starts every one of them once. Medians in milliseconds, and
// Velmora's as a multiple of the others'.
void StartUpSideBySide(benchmark::State& state)
{
    const char* const windows[] = {"bare", "label", "floor", "velmora"};
    std::vector<double> seconds[std::size(windows)];
    for (auto _ : state) {
        for (std::size_t i = 0; i < std::size(windows); ++i) {
            seconds[i].push_back(RunProbe({windows[i]}).secondsToShown);
        }
    }
    double medians[std::size(windows)];
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        medians[i] = Median(seconds[i]);
        state.counters[std::string(windows[i]) + "_ms"] = medians[i] * 1e3;
    }
    state.counters["velmora_per_bare"] = medians[3] / medians[0];
    state.counters["velmora_per_floor"] = medians[3] / medians[2];
}
BENCHMARK(StartUpSideBySide)->Iterations(60)->Unit(benchmark::kMillisecond);

void PeakMemory(benchmark::State& state)
{
    const long count = static_cast<long>(state.range(0));
    long empty = 0, filled = 0, floorEmpty = 0, floorFilled = 0;
    for (auto _ : state) {
        empty = RunProbe({"memory", "0"}).peakKibibytes;
        filled = RunProbe({"memory", std::to_string(count)}).peakKibibytes;
        floorEmpty = RunProbe({"floor-memory", "0"}).peakKibibytes;
        floorFilled = RunProbe({"floor-memory", std::to_string(count)}).peakKibibytes;
    }
    state.counters["empty_KiB"] = double(empty);
    state.counters["filled_KiB"] = double(filled);
    if (count > 0) {
        state.counters["bytes_per_entry"] = double(filled - empty) * 1024.0 / double(count);
        state.counters["floor_bytes_per_entry"] = double(floorFilled - floorEmpty) * 1024.0 / double(count);
    }
}
BENCHMARK(PeakMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!getenv("XDG_RUNTIME_DIR")) {
        char runtime[] = "/tmp/velmora-bench-XXXXXX";  // the probes' private runtime folder
        if (mkdtemp(runtime)) {
            setenv("XDG_RUNTIME_DIR", runtime, 1);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
