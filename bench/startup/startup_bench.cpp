// Start-up time and memory of the window program against a bare Qt window.
//
// Each run spawns a first-paint build (vorlith_first_paint or
// vorlith_bare_window), reads CLOCK_MONOTONIC just before posix_spawn, and
// waits for the line in which the child writes the CLOCK_MONOTONIC time of
// its first frame; the difference is the start-up time. The child's peak
// resident memory is ru_maxrss from wait4. Programs run interleaved, one run
// of each in turn, after warm-up runs that are not counted.
//
// Without DISPLAY the driver starts its own Xvfb (-noreset, on a display it
// picks through -displayfd) and ends only that process when done.
//
// usage: vorlith_startup_bench [--runs N] [--warmup N] [--bare PATH]
//            [--vorlith PATH] [--variant 'LABEL:VAR=VALUE[ VAR=VALUE...]']...
//            [--bare-variant 'LABEL:VAR=VALUE[ ...]']... [--show-stderr]
// A --variant is one more program in the rotation: vorlith_first_paint with
// the extra environment variables; a --bare-variant is the bare window with
// them (see bare_window.cpp for VORLITH_BARE_ADD).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A program in the rotation and what its runs gave.
struct Program {
    std::string label;
    std::string path;
    std::vector<std::string> extra_env;  // VAR=VALUE
    std::vector<double> ms;
    std::vector<long> rss_kib;
};

struct Run {
    double ms;
    long rss_kib;
};

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

std::string errno_text(const char* call) {
    return std::string(call) + ": " + std::strerror(errno);
}

// The environment of a child: ours, with DISPLAY and the xcb platform set
// and the program's extra variables on top.
std::vector<std::string> child_environment(const std::string& display,
                                           const std::vector<std::string>& extra) {
    std::vector<std::string> overrides = {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"};
    overrides.insert(overrides.end(), extra.begin(), extra.end());
    auto name_of = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        const bool overridden =
            std::any_of(overrides.begin(), overrides.end(),
                        [&](const std::string& o) { return name_of(o) == name_of(entry); });
        if (!overridden) env.push_back(entry);
    }
    env.insert(env.end(), overrides.begin(), overrides.end());
    return env;
}

std::vector<char*> c_strings(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Reads one line from `fd`, waiting at most `timeout`. Returns nullopt on end
// of file or time-out.
std::optional<std::string> read_line(int fd, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::string line;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0) {
            if (errno == EINTR) continue;
            fail(errno_text("poll"));
        }
        if (ready == 0) return std::nullopt;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno_text("read"));
        }
        if (n == 0) return std::nullopt;
        line.append(buffer, static_cast<std::size_t>(n));
        if (const auto end = line.find('\n'); end != std::string::npos) return line.substr(0, end);
    }
}

// One start of `program`: spawn, first-frame line, exit status and rusage.
Run run_once(const Program& program, const std::string& display, bool show_stderr) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) fail(errno_text("pipe2"));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (!show_stderr) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    std::vector<std::string> argv_strings = {program.path};
    std::vector<std::string> env_strings = child_environment(display, program.extra_env);
    std::vector<char*> argv = c_strings(argv_strings);
    std::vector<char*> envp = c_strings(env_strings);

    pid_t pid = 0;
    const auto started = Clock::now();
    const int spawned =
        ::posix_spawn(&pid, program.path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        errno = spawned;
        fail(errno_text(("posix_spawn " + program.path).c_str()));
    }

    const std::optional<std::string> line = read_line(out[0], std::chrono::seconds(30));
    ::close(out[0]);
    if (!line) ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) fail(errno_text("wait4"));
    }
    if (!line && WIFEXITED(status)) {
        fail(program.label + ": exited with status " + std::to_string(WEXITSTATUS(status)) +
             " before its first frame (--show-stderr shows why)");
    }
    if (!line) fail(program.label + ": no first-paint line within 30 s");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fail(program.label + ": child did not exit with status 0");
    }
    const long long painted_ns = std::stoll(*line);
    const long long started_ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
    return {static_cast<double>(painted_ns - started_ns) / 1e6, usage.ru_maxrss};
}

// An Xvfb of our own, on a display it picks itself.
class OwnXvfb {
public:
    OwnXvfb() {
        int ready[2];
        if (::pipe(ready) != 0) fail(errno_text("pipe"));
        ::fcntl(ready[0], F_SETFD, FD_CLOEXEC);
        const std::string fd = std::to_string(ready[1]);
        std::vector<std::string> argv_strings = {"Xvfb",     "-displayfd", fd,
                                                 "-noreset", "-nolisten",  "tcp",
                                                 "-screen",  "0",          "1280x1024x24"};
        std::vector<char*> argv = c_strings(argv_strings);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, ready[0]);
        const int spawned = ::posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(ready[1]);
        if (spawned != 0) {
            ::close(ready[0]);
            errno = spawned;
            fail(errno_text("posix_spawnp Xvfb"));
        }
        const std::optional<std::string> number = read_line(ready[0], std::chrono::seconds(20));
        ::close(ready[0]);
        if (!number) {
            stop();
            fail("Xvfb did not report a display within 20 s");
        }
        display_ = ":" + *number;
    }
    ~OwnXvfb() { stop(); }
    OwnXvfb(const OwnXvfb&) = delete;
    OwnXvfb& operator=(const OwnXvfb&) = delete;

    const std::string& display() const { return display_; }
    pid_t pid() const { return pid_; }

private:
    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }

    pid_t pid_ = -1;
    std::string display_;
};

// The Xvfb to end if the driver is interrupted.
volatile sig_atomic_t g_xvfb_pid = 0;

extern "C" void on_signal(int signal_number) {
    if (g_xvfb_pid > 0) ::kill(static_cast<pid_t>(g_xvfb_pid), SIGTERM);
    ::_exit(128 + signal_number);
}

double quantile(std::vector<double> values, double q) {
    // Nearest rank: the smallest value with at least q of the runs at or below it.
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Program parse_variant(const std::string& argument, const std::string& path) {
    const auto colon = argument.find(':');
    if (colon == std::string::npos || colon == 0)
        fail("variant '" + argument + "': want LABEL:VAR=VALUE[ VAR=VALUE...]");
    Program program{argument.substr(0, colon), path, {}, {}, {}};
    std::string rest = argument.substr(colon + 1);
    std::size_t begin = 0;
    while (begin <= rest.size()) {
        const auto end = std::min(rest.find(' ', begin), rest.size());
        const std::string entry = rest.substr(begin, end - begin);
        if (!entry.empty()) {
            if (entry.find('=') == std::string::npos)
                fail("variant '" + argument + "': '" + entry + "' is not VAR=VALUE");
            program.extra_env.push_back(entry);
        }
        begin = end + 1;
    }
    return program;
}

int run(int argc, char** argv) {
    int runs = 20;
    int warmup = 2;
    bool show_stderr = false;
    std::string bare_path = VORLITH_BARE_WINDOW_PATH;
    std::string vorlith_path = VORLITH_FIRST_PAINT_PATH;
    std::vector<std::string> variants, bare_variants;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) fail(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--runs") {
            runs = std::stoi(value());
        } else if (arg == "--warmup") {
            warmup = std::stoi(value());
        } else if (arg == "--bare") {
            bare_path = value();
        } else if (arg == "--vorlith") {
            vorlith_path = value();
        } else if (arg == "--variant") {
            variants.push_back(value());
        } else if (arg == "--bare-variant") {
            bare_variants.push_back(value());
        } else if (arg == "--show-stderr") {
            show_stderr = true;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--runs N] [--warmup N] [--bare PATH] [--vorlith PATH]\n"
                         "          [--variant 'LABEL:VAR=VALUE[ VAR=VALUE...]']...\n"
                         "          [--bare-variant 'LABEL:VAR=VALUE[ VAR=VALUE...]']...\n"
                         "          [--show-stderr]\n",
                         argv[0]);
            return 2;
        }
    }
    if (runs < 1 || warmup < 0) fail("--runs must be at least 1 and --warmup at least 0");

    std::vector<Program> programs = {{"bare window", bare_path, {}, {}, {}},
                                     {"vorlith", vorlith_path, {}, {}, {}}};
    for (const std::string& argument : bare_variants)
        programs.push_back(parse_variant(argument, bare_path));
    for (const std::string& argument : variants)
        programs.push_back(parse_variant(argument, vorlith_path));

    std::optional<OwnXvfb> xvfb;
    std::string display;
    if (const char* set = std::getenv("DISPLAY"); set != nullptr && *set != '\0') {
        display = set;
    } else {
        struct sigaction action {};
        action.sa_handler = on_signal;
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
        xvfb.emplace();
        g_xvfb_pid = xvfb->pid();
        display = xvfb->display();
    }
    std::printf("display %s%s, %d warm-up and %d counted runs of each, interleaved\n",
                display.c_str(), xvfb ? " (own Xvfb)" : "", warmup, runs);
    std::fflush(stdout);

    for (int round = 0; round < warmup + runs; ++round) {
        for (Program& program : programs) {
            const Run r = run_once(program, display, show_stderr);
            if (round < warmup) continue;
            program.ms.push_back(r.ms);
            program.rss_kib.push_back(r.rss_kib);
        }
    }

    const Program& bare = programs.front();
    const double bare_median = median(bare.ms);
    std::vector<double> bare_rss(bare.rss_kib.begin(), bare.rss_kib.end());
    const double bare_rss_median = median(bare_rss);
    std::printf("\n%-26s %9s %9s %9s %8s %11s %8s\n", "program", "median ms", "min ms", "p90 ms",
                "× bare", "RSS KiB", "× bare");
    for (const Program& program : programs) {
        std::vector<double> rss(program.rss_kib.begin(), program.rss_kib.end());
        const double m = median(program.ms);
        const double rss_m = median(rss);
        std::printf("%-26s %9.2f %9.2f %9.2f %8.3f %11.0f %8.3f\n", program.label.c_str(), m,
                    *std::min_element(program.ms.begin(), program.ms.end()),
                    quantile(program.ms, 0.9), m / bare_median, rss_m, rss_m / bare_rss_median);
    }
    std::printf("\nRSS is the median of the children's peak resident set (ru_maxrss).\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorlith_startup_bench: %s\n", error.what());
        return 1;
    }
}
