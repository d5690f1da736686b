// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up of programs under a running X server: the time from process start until a window
// with a given title is on screen, and the peak resident memory at that moment.
//
//   bench_startup [--runs N] [--title TEXT] [--timeout SECONDS] [--settle SECONDS]
//                 NAME=PROGRAM...
//
// The programs run in turn, round after round, each started in a fresh folder that is also
// its per-user data folder (XDG_DATA_HOME), holding rovedavu/rirekidata/ as a learner's
// earlier start left it; a first round warms the caches and is not counted. The first program is
// the reference: the others are reported as ratios of its medians.
//
// The watcher does not poll. It listens to the root window for the creation and mapping of
// top-level windows and puts a DAMAGE monitor on each new one, so it learns from the X
// server itself:
//   shown  when the window with the title is mapped (on screen, no window manager);
//   drawn  when the program first draws into that window after mapping it;
// both against a monotonic clock read just before fork(). VmHWM is read from
// /proc/PID/status when the window is drawn, and once more after the program has been left
// to settle (half a second by default, so that work put off until after the dialog counts
// too); then the program is ended with SIGKILL.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string name;
    std::string path;
};

struct Run {
    double shownMs = 0;
    double drawnMs = 0;
    long hwmKb = 0;         // when drawn
    long settledHwmKb = 0;  // after settling
    double cpuMs = 0;       // user + system time of the whole process until it was ended
};

struct Options {
    int runs = 7;
    std::string title = "－－　きょうはなんがつなんにちですか。　－－";
    double timeoutSeconds = 30;
    double settleSeconds = 0.5;
    std::vector<Program> programs;
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "bench_startup: %s\n", message.c_str());
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= argc)
                fail("missing value after " + arg);
            return argv[++k];
        };
        if (arg == "--runs")
            options.runs = std::max(1, std::atoi(value().c_str()));
        else if (arg == "--title")
            options.title = value();
        else if (arg == "--timeout")
            options.timeoutSeconds = std::atof(value().c_str());
        else if (arg == "--settle")
            options.settleSeconds = std::atof(value().c_str());
        else if (const auto eq = arg.find('='); eq != std::string::npos && eq > 0)
            options.programs.push_back({arg.substr(0, eq), arg.substr(eq + 1)});
        else
            fail("unknown argument " + arg);
    }
    if (options.programs.empty())
        fail(
            "usage: bench_startup [--runs N] [--title TEXT] [--timeout S] [--settle S] "
            "NAME=PROGRAM...");
    return options;
}

// Windows of other clients may go at any moment; requests about them then fail harmlessly.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

long vmHwmKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

class Watcher {
public:
    Watcher() {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr)
            fail("cannot open the X display (is DISPLAY set?)");
        XSetErrorHandler(ignoreErrors);
        int error = 0;
        if (!XDamageQueryExtension(display_, &damageEvent_, &error))
            fail("the X server has no DAMAGE extension");
        root_ = DefaultRootWindow(display_);
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~Watcher() { XCloseDisplay(display_); }

    // Starts the program and waits for the window; nullopt when it did not come in time.
    std::optional<Run> measure(const Program& program, const Options& options) {
        const std::string& title = options.title;
        const double timeoutSeconds = options.timeoutSeconds;
        forget();
        const std::filesystem::path work = makeWorkFolder();
        const auto start = Clock::now();
        const pid_t pid = fork();
        if (pid < 0)
            fail("fork failed");
        if (pid == 0) {
            if (chdir(work.c_str()) != 0 || setenv("XDG_DATA_HOME", work.c_str(), 1) != 0)
                _exit(127);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }

        std::optional<Run> run;
        const auto deadline = start + std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::duration<double>(timeoutSeconds));
        Window target = None;
        Clock::time_point shown;
        while (Clock::now() < deadline) {
            if (!XPending(display_)) {
                pollfd fd{ConnectionNumber(display_), POLLIN, 0};
                poll(&fd, 1, 20);
                if (!XPending(display_)) {
                    int status = 0;
                    if (waitpid(pid, &status, WNOHANG) == pid) {
                        std::fprintf(stderr, "%s ended before its window came\n",
                                     program.name.c_str());
                        std::filesystem::remove_all(work);
                        return std::nullopt;
                    }
                    continue;
                }
            }
            XEvent event;
            XNextEvent(display_, &event);
            const auto now = Clock::now();
            if (event.type == CreateNotify && event.xcreatewindow.parent == root_) {
                const Window window = event.xcreatewindow.window;
                damage_[window] = XDamageCreate(display_, window, XDamageReportNonEmpty);
                XSelectInput(display_, window, PropertyChangeMask);
            } else if (event.type == MapNotify && event.xmap.event == root_) {
                mapped_[event.xmap.window] = now;
                if (target == None && hasTitle(event.xmap.window, title)) {
                    target = event.xmap.window;
                    shown = now;
                }
            } else if (event.type == PropertyNotify && target == None &&
                       mapped_.count(event.xproperty.window) != 0 &&
                       hasTitle(event.xproperty.window, title)) {
                // The title came after the mapping: shown from the moment both were there.
                target = event.xproperty.window;
                shown = now;
            } else if (event.type == damageEvent_ + XDamageNotify) {
                const auto* notify = reinterpret_cast<XDamageNotifyEvent*>(&event);
                XDamageSubtract(display_, notify->damage, None, None);
                if (target != None && notify->drawable == target) {
                    run = Run{};
                    run->hwmKb = vmHwmKb(pid);
                    run->shownMs = ms(shown - start);
                    run->drawnMs = ms(now - start);
                    break;
                }
            }
        }

        if (run) {
            usleep(static_cast<useconds_t>(options.settleSeconds * 1e6));
            run->settledHwmKb = vmHwmKb(pid);
        }
        kill(pid, SIGKILL);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        if (run)
            run->cpuMs = seconds(usage.ru_utime) * 1e3 + seconds(usage.ru_stime) * 1e3;
        else
            std::fprintf(stderr, "%s: no window titled \"%s\" within %.0f s\n",
                         program.name.c_str(), title.c_str(), timeoutSeconds);
        std::filesystem::remove_all(work);
        XSync(display_, True);  // drop the events of the ended program
        return run;
    }

private:
    static double ms(Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    }
    static double seconds(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }

    static std::filesystem::path makeWorkFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "startup.XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr)
            fail("cannot make a working folder");
        std::filesystem::create_directories(std::filesystem::path(pattern) / "rovedavu" /
                                            "rirekidata");
        return pattern;
    }

    void forget() {
        for (const auto& [window, damage] : damage_)
            XDamageDestroy(display_, damage);
        damage_.clear();
        mapped_.clear();
        XSync(display_, True);
    }

    bool hasTitle(Window window, const std::string& title) {
        for (const Atom property : {netWmName_, static_cast<Atom>(XA_WM_NAME)}) {
            Atom type = None;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(display_, window, property, 0, 1024, False, AnyPropertyType,
                                   &type, &format, &count, &after, &data) != Success)
                continue;
            const bool found =
                data != nullptr && format == 8 &&
                std::string(reinterpret_cast<char*>(data), count).find(title) != std::string::npos;
            if (data != nullptr)
                XFree(data);
            if (found)
                return true;
        }
        return false;
    }

    Display* display_ = nullptr;
    Window root_ = None;
    Atom netWmName_ = None;
    int damageEvent_ = 0;
    std::map<Window, Damage> damage_;
    std::map<Window, Clock::time_point> mapped_;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    Watcher watcher;
    std::map<std::string, std::vector<Run>> runs;

    std::printf("Start-up until the window \"%s\" is on screen\n", options.title.c_str());
    std::printf("%-10s %5s %9s %9s %10s %10s %8s\n", "program", "round", "shown ms", "drawn ms",
                "VmHWM KiB", "later KiB", "CPU ms");
    for (int round = 0; round <= options.runs; ++round) {
        // Every other round the other way round, so that neither program always goes first.
        std::vector<Program> order = options.programs;
        if (round % 2 == 1)
            std::reverse(order.begin(), order.end());
        for (const Program& program : order) {
            const std::optional<Run> run = watcher.measure(program, options);
            if (!run)
                return 1;
            std::printf("%-10s %5s %9.1f %9.1f %10ld %10ld %8.1f\n", program.name.c_str(),
                        round == 0 ? "warm" : std::to_string(round).c_str(), run->shownMs,
                        run->drawnMs, run->hwmKb, run->settledHwmKb, run->cpuMs);
            std::fflush(stdout);
            if (round > 0)
                runs[program.name].push_back(*run);
        }
    }

    const auto pick = [&](const std::string& name, auto field) {
        std::vector<double> values;
        for (const Run& run : runs[name])
            values.push_back(static_cast<double>(run.*field));
        return median(values);
    };
    const std::string& reference = options.programs.front().name;
    std::printf("\nMedians of %d runs each; ratios to %s\n", options.runs, reference.c_str());
    std::printf("%-10s %9s %9s %10s %10s %8s %7s %7s %7s %7s\n", "program", "shown ms", "drawn ms",
                "VmHWM KiB", "later KiB", "CPU ms", "shown×", "drawn×", "VmHWM×", "later×");
    for (const Program& program : options.programs) {
        const double shown = pick(program.name, &Run::shownMs);
        const double drawn = pick(program.name, &Run::drawnMs);
        const double hwm = pick(program.name, &Run::hwmKb);
        const double later = pick(program.name, &Run::settledHwmKb);
        const double cpu = pick(program.name, &Run::cpuMs);
        std::printf("%-10s %9.1f %9.1f %10.0f %10.0f %8.1f %7.3f %7.3f %7.3f %7.3f\n",
                    program.name.c_str(), shown, drawn, hwm, later, cpu,
                    shown / pick(reference, &Run::shownMs), drawn / pick(reference, &Run::drawnMs),
                    hwm / pick(reference, &Run::hwmKb),
                    later / pick(reference, &Run::settledHwmKb));
    }
    return 0;
}
