// Start-up and idle memory of the panel against the bare Qt program, alternating in one run.
// Each round starts each program with PANOPTIX_BENCH_FIRST_PAINT set; the program prints the
// CLOCK_MONOTONIC time of its first paint and quits. Start-up is that time minus the time taken
// just before fork(); idle memory is the child's peak resident set (ru_maxrss of wait4, which
// is its VmHWM). See README.md.
//
//   panoptix-startup-bench ROUNDS PANEL BARE
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Run {
    double startup_ms = -1;
    double hwm_mb = -1;
    double cpu_ms = -1;  // user + system time of the child, all threads, to its exit
};

Run RunOnce(const char* program) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) {
        return {};
    }
    const long long start_ns = MonotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipe_fds[1], STDOUT_FILENO);
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        setenv("PANOPTIX_BENCH_FIRST_PAINT", "1", 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipe_fds[1]);
    std::string output;
    char buffer[512];
    for (;;) {
        const ssize_t got = read(pipe_fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        output.append(buffer, static_cast<size_t>(got));
    }
    close(pipe_fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    const size_t at = output.find("first-paint ");
    if (at != std::string::npos) {
        const long long painted_ns = std::atoll(output.c_str() + at + 12);
        run.startup_ms = static_cast<double>(painted_ns - start_ns) / 1e6;
    }
    run.hwm_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.cpu_ms = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return run;
}

struct Stats {
    double median = 0, min = 0, max = 0;
};

Stats Summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    Stats stats;
    if (values.empty()) {
        return stats;
    }
    const size_t n = values.size();
    stats.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    stats.min = values.front();
    stats.max = values.back();
    return stats;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: panoptix-startup-bench ROUNDS PANEL BARE\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    RunOnce(argv[2]);  // warm the page cache for both before measuring
    RunOnce(argv[3]);
    std::vector<double> panel_ms, bare_ms, panel_mb, bare_mb, panel_cpu, bare_cpu;
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        const bool panel_first = round % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool panel = (turn == 0) == panel_first;
            const Run run = RunOnce(panel ? argv[2] : argv[3]);
            if (run.startup_ms < 0) {
                ++failures;
                continue;
            }
            (panel ? panel_ms : bare_ms).push_back(run.startup_ms);
            (panel ? panel_mb : bare_mb).push_back(run.hwm_mb);
            (panel ? panel_cpu : bare_cpu).push_back(run.cpu_ms);
        }
    }
    const Stats pt = Summarise(panel_ms), bt = Summarise(bare_ms);
    const Stats pm = Summarise(panel_mb), bm = Summarise(bare_mb);
    std::printf("start-up to first paint, %d rounds alternating (median / min / max):\n", rounds);
    std::printf("  panel     %7.1f / %7.1f / %7.1f ms\n", pt.median, pt.min, pt.max);
    std::printf("  bare Qt   %7.1f / %7.1f / %7.1f ms\n", bt.median, bt.min, bt.max);
    std::printf("  ratio of medians %.2fx   (goal: within 1.10x)\n",
                bt.median > 0 ? pt.median / bt.median : 0.0);
    const Stats pc = Summarise(panel_cpu), bc = Summarise(bare_cpu);
    std::printf(
        "CPU time of the process to its exit after the first paint, user + system (median / min "
        "/ max; less sensitive to a loaded machine than the wall time):\n");
    std::printf("  panel     %7.1f / %7.1f / %7.1f ms\n", pc.median, pc.min, pc.max);
    std::printf("  bare Qt   %7.1f / %7.1f / %7.1f ms\n", bc.median, bc.min, bc.max);
    std::printf("  ratio of medians %.2fx\n", bc.median > 0 ? pc.median / bc.median : 0.0);
    std::printf("resident memory idle, VmHWM at first paint (median / min / max):\n");
    std::printf("  panel     %7.1f / %7.1f / %7.1f MB\n", pm.median, pm.min, pm.max);
    std::printf("  bare Qt   %7.1f / %7.1f / %7.1f MB\n", bm.median, bm.min, bm.max);
    std::printf("  difference %+.1f MB   (goal: within +15 MB)\n", pm.median - bm.median);
    if (failures > 0) {
        std::printf("  %d start(s) printed no first paint and were left out\n", failures);
    }
    return failures > 0 ? 1 : 0;
}
