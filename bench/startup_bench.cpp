// startup-bench [-n RUNS] [--collection DIR] PROGRAM BARE_WINDOW TEXT_WINDOW [WIDGETS_WINDOW]
//
// With --collection, PROGRAM is also started pointed at DIR/emu/ (holding
// the emulator's definitions) and DIR/roms/ (their archives), and compared
// with its start without them.
//
// Measures how long each program takes from exec to the mapping of its
// top-level window, and its peak resident memory, then compares PROGRAM
// with TEXT_WINDOW (a window of the same toolkit showing one line of text:
// any window with text pays for the font system) for the goal, and with
// BARE_WINDOW (no text at all) for reference. WIDGETS_WINDOW, a window of
// one widget of each kind PROGRAM shows, in its fonts, tells what of the
// difference is the toolkit's own and what is PROGRAM's. Needs an X server in
// $DISPLAY. Each run copies the program into a fresh folder, because the
// front-end writes next to its own program file.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kTimeGoal = 1.25;
constexpr double kMemoryGoal = 1.10;
constexpr auto kSettle = std::chrono::milliseconds(300);
constexpr auto kMapTimeout = std::chrono::seconds(30);
constexpr auto kExitTimeout = std::chrono::seconds(10);

struct Sample {
    double milliseconds;
    double peakMegabytes;
};

struct Subject {
    std::string label;
    fs::path program;
    std::vector<Sample> samples;
    // A collection (emu/ with the emulator's definitions, roms/ with its
    // archives) the program is pointed at through its settings file.
    fs::path collection = {};
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "startup-bench: %s\n", message.c_str());
    std::exit(2);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::optional<unsigned long> windowPid(Display* display, Window window) {
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> pid;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        pid = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return pid;
}

// A top-level window of the child was mapped: the first map of a root child
// that is not override-redirect (tooltips, menus) and, when it names its
// process, names the child.
bool isChildTopLevel(Display* display, const XMapEvent& map, pid_t child) {
    if (map.override_redirect)
        return false;
    const auto pid = windowPid(display, map.window);
    return !pid || *pid == static_cast<unsigned long>(child);
}

// Ends the child and returns its peak resident set in megabytes.
double stopAndMeasure(pid_t child) {
    ::kill(child, SIGTERM);
    const auto deadline = Clock::now() + kExitTimeout;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = ::wait4(child, &status, WNOHANG, &usage);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            fail("wait4: " + std::string(std::strerror(errno)));
        if (Clock::now() > deadline) {
            // Its figures still count: the peak was reached while running.
            ::kill(child, SIGKILL);
            ::wait4(child, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

Sample runOnce(Display* display, const Subject& subject) {
    char pattern[] = "/tmp/startup-bench-XXXXXX";
    if (!::mkdtemp(pattern))
        fail("mkdtemp: " + std::string(std::strerror(errno)));
    const fs::path folder = pattern;
    const fs::path copy = folder / subject.program.filename();
    fs::copy_file(subject.program, copy);
    fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    const std::string copyName = copy.string();
    const std::string tmpDir = "TMPDIR=" + folder.string();
    const fs::path runtime = folder / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const std::string runtimeDir = "XDG_RUNTIME_DIR=" + runtime.string();
    if (!subject.collection.empty()) {
        fs::create_directory(folder / "Config");
        const std::string settings = (subject.collection / "emu").string() + "/\r\n" +
                                     (subject.collection / "roms").string() +
                                     "/\r\n640\r\n480\r\n0\r\n0\r\n0\r\n";
        std::FILE* file = std::fopen((folder / "Config" / "Kestrun.ini").c_str(), "wb");
        if (!file || std::fwrite(settings.data(), 1, settings.size(), file) != settings.size())
            fail("cannot write the settings file");
        std::fclose(file);
    }

    // Forget the maps of earlier runs before starting the next program.
    XSync(display, True);

    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child < 0)
        fail("fork: " + std::string(std::strerror(errno)));
    if (child == 0) {
        // The program's lock and run-time files stay in its own folder.
        ::putenv(const_cast<char*>(tmpDir.c_str()));
        ::putenv(const_cast<char*>(runtimeDir.c_str()));
        if (::chdir(folder.c_str()) != 0)
            ::_exit(127);
        char* const argv[] = {const_cast<char*>(copyName.c_str()), nullptr};
        ::execv(argv[0], argv);
        ::_exit(127);
    }

    std::optional<Clock::time_point> mapped;
    pollfd x{ConnectionNumber(display), POLLIN, 0};
    while (!mapped) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && isChildTopLevel(display, event.xmap, child)) {
                mapped = Clock::now();
                break;
            }
        }
        if (mapped)
            break;
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            fail(subject.label + " ended before showing a window");
        if (Clock::now() - start > kMapTimeout) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            fail(subject.label + " showed no window in time");
        }
        ::poll(&x, 1, 50);
    }

    std::this_thread::sleep_for(kSettle);
    const double peak = stopAndMeasure(child);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    const double ms = std::chrono::duration<double, std::milli>(*mapped - start).count();
    return {ms, peak};
}

} // namespace

int main(int argc, char* argv[]) {
    int runs = 15;
    std::vector<std::string> files;
    fs::path collection;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--collection" && i + 1 < argc) {
            collection = fs::absolute(argv[++i]);
        } else if (arg == "-n" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            if (runs < 1)
                fail("runs must be a positive number");
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 3 && files.size() != 4) {
        std::fprintf(stderr,
                     "usage: %s [-n RUNS] [--collection DIR] PROGRAM BARE_WINDOW TEXT_WINDOW "
                     "[WIDGETS_WINDOW]\n",
                     argv[0]);
        return 2;
    }
    std::vector<Subject> subjects = {
        {"program", files[0], {}}, {"bare", files[1], {}}, {"text", files[2], {}}};
    if (files.size() == 4)
        subjects.push_back({"widgets", files[3], {}});
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        std::error_code error;
        subjects[i].program = fs::canonical(subjects[i].program, error);
        if (error || !fs::is_regular_file(subjects[i].program))
            fail("not a program file: " + files[i]);
    }
    if (!collection.empty())
        subjects.push_back({"games", subjects[0].program, {}, collection});
    const std::size_t count = subjects.size();

    Display* display = XOpenDisplay(nullptr);
    if (!display)
        fail("cannot open the X display (DISPLAY unset? run it under xvfb-run -a)");
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);

    for (int run = 0; run < runs; ++run) {
        // Alternate which goes first, so neither always gets the warm caches.
        const std::size_t first = std::size_t(run) % count;
        for (std::size_t k = 0; k < count; ++k) {
            Subject& s = subjects[(first + k) % count];
            s.samples.push_back(runOnce(display, s));
        }
        std::fprintf(stderr, "run %d/%d\n", run + 1, runs);
    }
    XCloseDisplay(display);
    std::fflush(stderr);

    std::printf("%-8s %-40s %14s %16s\n", "", "file", "median ms", "median peak MB");
    std::vector<double> time(count);
    std::vector<double> memory(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<double> ms;
        std::vector<double> mb;
        for (const Sample& sample : subjects[i].samples) {
            ms.push_back(sample.milliseconds);
            mb.push_back(sample.peakMegabytes);
        }
        time[i] = median(ms);
        memory[i] = median(mb);
        std::printf("%-8s %-40s %14.1f %16.1f\n", subjects[i].label.c_str(),
                    subjects[i].program.filename().c_str(), time[i], memory[i]);
    }
    const double timeRatio = time[0] / time[2];
    const double memoryRatio = memory[0] / memory[2];
    std::printf("goal, against the text window: time %.2f (<= %.2f%s), memory %.2f (<= %.2f%s)\n",
                timeRatio, kTimeGoal, timeRatio <= kTimeGoal ? "" : ", NOT MET", memoryRatio,
                kMemoryGoal, memoryRatio <= kMemoryGoal ? "" : ", NOT MET");
    std::printf("reference, against the bare window: time %.2f, memory %.2f\n", time[0] / time[1],
                memory[0] / memory[1]);
    if (files.size() == 4)
        std::printf("the toolkit's own, the widgets window against the text window: time %.2f, "
                    "memory %.2f\nthe program's own, against the widgets window: time %.2f, "
                    "memory %.2f\n",
                    time[3] / time[2], memory[3] / memory[2], time[0] / time[3],
                    memory[0] / memory[3]);
    if (!collection.empty())
        std::printf("with the emulator's definitions and %s: time %.2f (<= 1.10%s), memory %.2f\n",
                    collection.filename().c_str(), time.back() / time[0],
                    time.back() / time[0] <= 1.10 ? "" : ", NOT MET", memory.back() / memory[0]);
    std::printf("(%d runs each, medians)\n", runs);
    return 0;
}
