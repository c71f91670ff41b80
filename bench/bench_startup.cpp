// Start-up, from process start to the window shown, of the Velmora window
// beside a bare Qt window of the same size; and the peak memory of the
// process with an empty pair book and with 100,000 entries. Each figure
// comes from a fresh process of startup_probe, run offscreen.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

void StartUp(benchmark::State& state, const char* window)
{
    for (auto _ : state) {
        state.SetIterationTime(RunProbe({window}).secondsToShown);
    }
}
BENCHMARK_CAPTURE(StartUp, bare_qt_window, "bare")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(StartUp, qt_window_with_a_label, "label")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(StartUp, velmora, "velmora")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);

void PeakMemory(benchmark::State& state)
{
    const long count = static_cast<long>(state.range(0));
    long empty = 0;
    long filled = 0;
    for (auto _ : state) {
        empty = RunProbe({"memory", "0"}).peakKibibytes;
        filled = RunProbe({"memory", std::to_string(count)}).peakKibibytes;
    }
    state.counters["empty_KiB"] = double(empty);
    state.counters["filled_KiB"] = double(filled);
    if (count > 0) {
        state.counters["bytes_per_entry"] = double(filled - empty) * 1024.0 / double(count);
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
