// Times whole programs from process start to exit and reads their peak resident memory. The
// commands of a pair run alternately so that both see the same machine; the first runs of each
// are a warm-up and are not counted. Prints one Markdown table row per command.
//
// Usage: startup_bench RUNS WARMUP GAP_MS TARGET_RATIO LABEL -- CMD... --vs FLOOR_LABEL -- FLOOR...
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Sample {
    double ms;
    long peakKiB;
};

struct Command {
    std::string label;
    std::vector<std::string> argv;
    std::vector<Sample> samples;
};

bool RunOnce(const Command& c, Sample& out) {
    std::vector<char*> args;
    for (const std::string& a : c.argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return false;
    }
    const auto stop = std::chrono::steady_clock::now();
    out.ms = std::chrono::duration<double, std::milli>(stop - start).count();
    out.peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename T> T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

const char* Verdict(double ratio, double target) {
    return ratio <= target ? "met" : "not met";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 9) {
        std::fprintf(stderr,
                     "usage: %s RUNS WARMUP GAP_MS TARGET LABEL -- CMD... --vs LABEL -- "
                     "CMD...\n",
                     argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int warmup = std::atoi(argv[2]);
    const int gapMs = std::atoi(argv[3]);
    const double target = std::atof(argv[4]);
    Command program{argv[5], {}, {}};
    Command floor{};
    int i = 6;
    if (std::string(argv[i++]) != "--") {
        return 2;
    }
    for (; i < argc && std::string(argv[i]) != "--vs"; ++i) {
        program.argv.push_back(argv[i]);
    }
    if (i + 2 >= argc || std::string(argv[i + 2]) != "--") {
        return 2;
    }
    floor.label = argv[i + 1];
    for (i += 3; i < argc; ++i) {
        floor.argv.push_back(argv[i]);
    }

    for (int r = 0; r < warmup + runs; ++r) {
        for (Command* c : {&program, &floor}) {
            Sample s{};
            if (!RunOnce(*c, s)) {
                std::fprintf(stderr, "%s failed\n", c->label.c_str());
                return 1;
            }
            if (r >= warmup) {
                c->samples.push_back(s);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        }
    }

    auto ms = [](const Command& c) {
        std::vector<double> v;
        for (const Sample& s : c.samples) {
            v.push_back(s.ms);
        }
        return Median(v);
    };
    auto kib = [](const Command& c) {
        std::vector<long> v;
        for (const Sample& s : c.samples) {
            v.push_back(s.peakKiB);
        }
        return Median(v);
    };
    const double timeRatio = ms(program) / ms(floor);
    const double memRatio = static_cast<double>(kib(program)) / static_cast<double>(kib(floor));
    std::printf("| %s | %.1f ms | %ld KiB | %.3f (%s) | %.3f (%s) |\n", program.label.c_str(),
                ms(program), kib(program), timeRatio, Verdict(timeRatio, target), memRatio,
                Verdict(memRatio, target));
    std::printf("| %s | %.1f ms | %ld KiB | 1 | 1 |\n", floor.label.c_str(), ms(floor), kib(floor));
    return 0;
}
