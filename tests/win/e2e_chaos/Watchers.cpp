#include "tests/win/e2e_chaos/Watchers.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <thread>

namespace hx::test::chaos {
namespace {

constexpr double kBoundMs = 1000, kStalledReferenceMs = 250, kHungMs = 5000, kSlowWindowS = 60;
constexpr size_t kSlowInWindow = 3;
// A busy thread that gets less than this share of a core: the machine is starved.
constexpr double kStarvedShare = 0.5;

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}
constexpr UINT kNoAnswerMs = 10000;

// How long the window took to answer WM_NULL, in ms; `answered` false when it did not.
double AnswerTime(HWND hwnd, bool& answered) {
    const auto sent = Clock::now();
    DWORD_PTR result = 0;
    answered = ::SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kNoAnswerMs, &result) != 0;
    return std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
}

std::string Format(const char* format, double a, double b = 0, double c = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

struct Figure {
    const char* name;
    double bound;
    double scale;  // shown in units of this
    const char* unit;
    std::function<double(const ProcessFigures&)> of;
};

const Figure kFigures[] = {
    {"working set", 24.0 * (1 << 20), 1 << 20, "MiB", [](const ProcessFigures& f) { return double(f.workingSet); }},
    {"private bytes", 8.0 * (1 << 20), 1 << 20, "MiB", [](const ProcessFigures& f) { return double(f.privateBytes); }},
    {"GDI objects", 20, 1, "", [](const ProcessFigures& f) { return double(f.gdi); }},
    {"USER objects", 12, 1, "", [](const ProcessFigures& f) { return double(f.user); }},
    {"handles", 24, 1, "", [](const ProcessFigures& f) { return double(f.handles); }},
};

double MedianOfThree(double a, double b, double c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

}  // namespace

void AnswerWatch::Loop() {
    HWND reference = ::GetDesktopWindow();
    std::mutex mutex;
    std::condition_variable changed;
    bool go = false, done = false, quit = false;
    std::atomic<bool> answered{false};
    double referenceMs = 0, share = 1;
    std::thread referenceProbe([&] {
        std::unique_lock lock(mutex);
        while (true) {
            changed.wait(lock, [&] { return go || quit; });
            if (quit) return;
            go = false;
            lock.unlock();
            const auto sent = Clock::now();
            bool referenceAnswered = false;
            const double took = AnswerTime(reference, referenceAnswered);
            // An answer still awaited after a while: the share of a core this thread gets
            // while it waits on, spinning, is the share the machine leaves a busy thread.
            double got = 1;
            while (!answered && Clock::now() - sent < milliseconds(static_cast<int>(kStalledReferenceMs))) ::Sleep(5);
            if (!answered) {
                const double cpuBefore = ThreadCpuSeconds();
                const auto from = Clock::now();
                while (!answered && !run_.watchers.Stopped()) {}
                const double wall = std::chrono::duration<double>(Clock::now() - from).count();
                if (wall > 0.1) got = (ThreadCpuSeconds() - cpuBefore) / wall;
            }
            lock.lock();
            referenceMs = took;
            share = got;
            done = true;
            changed.notify_all();
        }
    });
    while (run_.watchers.Pause(milliseconds(250)) && ::IsWindow(main_)) {
        {
            std::lock_guard lock(mutex);
            go = true;
            done = false;
            answered = false;
        }
        changed.notify_all();
        bool answeredInTime = false;
        const double took = AnswerTime(main_, answeredInTime);
        answered = true;
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::milliseconds(kNoAnswerMs + 1000), [&] { return done; });
        const double referenceTook = referenceMs, cpuShare = share;
        lock.unlock();
        ++probes_;
        worstMs_ = std::max(worstMs_, took);
        worstReferenceMs_ = std::max(worstReferenceMs_, referenceTook);
        if (took <= kBoundMs && answeredInTime) continue;
        const std::string said = Format("the window answered in %.0f ms (the reference window in %.0f ms", took,
                                        referenceTook) +
                                 Format(", a busy thread meanwhile got %.0f%% of a core)", 100 * cpuShare);
        if (referenceTook >= kStalledReferenceMs || cpuShare < kStarvedShare) {
            ++excused_;
            run_.Log(said + ": excused, the machine stalled");
        } else if (!answeredInTime || took > kHungMs) {
            ++slow_;
            run_.Problem(answeredInTime ? said : Format("the window did not answer within %.0f s", kNoAnswerMs / 1000.0));
        } else {
            ++slow_;
            const double now = run_.Seconds();
            recentSlow_.push_back(now);
            while (now - recentSlow_.front() > kSlowWindowS) recentSlow_.pop_front();
            if (recentSlow_.size() == kSlowInWindow)
                run_.Problem(Format("the third answer over 1 s within %.0f s: ", kSlowWindowS) + said);
            else
                run_.Log(said);
        }
    }
    {
        std::lock_guard lock(mutex);
        quit = true;
    }
    answered = true;
    changed.notify_all();
    referenceProbe.join();
}

std::string AnswerWatch::Figures() const {
    return Format("  %.0f probes; worst answer %.0f ms", probes_, worstMs_) +
           Format(" (worst reference answer %.0f ms); over 1 s: %.0f excused, %.0f not\n", worstReferenceMs_, excused_, slow_);
}

void ResourceWatch::Read() {
    std::string why;
    const std::optional<ProcessFigures> figures = probe_.Take(why);
    if (figures) {
        readings_.push_back({run_.Seconds(), *figures});
    } else if (!failed_) {
        failed_ = true;
        run_.Problem("cannot read what the utility holds: " + why);
    }
}

void ResourceWatch::Loop() {
    while (run_.watchers.Pause(every_)) Read();
}

void ResourceWatch::Judge() {
    const double warmUp = std::max(10.0, 0.2 * static_cast<double>(run_.length.count()));
    std::vector<Reading> judged;
    std::copy_if(readings_.begin(), readings_.end(), std::back_inserter(judged),
                 [&](const Reading& r) { return r.at >= warmUp; });
    if (judged.size() < 6) {
        run_.Log(std::string("too few readings after the warm-up to judge a trend: ") + std::to_string(judged.size()));
        return;
    }
    const size_t n = judged.size();
    for (const Figure& figure : kFigures) {
        const auto v = [&](size_t i) { return figure.of(judged[i].figures); };
        const double first = MedianOfThree(v(0), v(1), v(2)), last = MedianOfThree(v(n - 3), v(n - 2), v(n - 1));
        double meanT = 0, meanV = 0;
        for (size_t i = 0; i < n; ++i) meanT += judged[i].at / n, meanV += v(i) / n;
        double covariance = 0, variance = 0;
        for (size_t i = 0; i < n; ++i) {
            covariance += (judged[i].at - meanT) * (v(i) - meanV);
            variance += (judged[i].at - meanT) * (judged[i].at - meanT);
        }
        const double rise = variance > 0 ? covariance / variance * (judged.back().at - judged.front().at) : 0;
        if (last - first > figure.bound && rise > figure.bound)
            run_.Problem(std::string(figure.name) +
                         Format(" grew from %.1f to %.1f (the trend's rise %.1f)", first / figure.scale,
                                last / figure.scale, rise / figure.scale) +
                         " " + figure.unit + " after the warm-up");
    }
}

std::string ResourceWatch::Figures() const {
    if (readings_.empty()) return "  no readings\n";
    const auto line = [](const char* when, const Reading& r) {
        return std::string("  ") + when +
               Format(" (%.0f s): working set %.1f MiB, private bytes %.1f MiB", r.at, r.figures.workingSet / 1048576.0,
                      r.figures.privateBytes / 1048576.0) +
               Format(", GDI %.0f, USER %.0f, handles %.0f", r.figures.gdi, r.figures.user, r.figures.handles) +
               (r.figures.gdiKinds.empty() ? "" : " (GDI: " + r.figures.gdiKinds + ")") + "\n";
    };
    const double warmUp = std::max(10.0, 0.2 * static_cast<double>(run_.length.count()));
    const auto afterWarmUp =
        std::find_if(readings_.begin(), readings_.end(), [&](const Reading& r) { return r.at >= warmUp; });
    std::string text = "  counted " + probe_.Method() + "; " + std::to_string(readings_.size()) + " readings\n";
    text += line("start", readings_.front());
    if (afterWarmUp != readings_.end()) text += line("after the warm-up", *afterWarmUp);
    return text + line("end", readings_.back());
}

}  // namespace hx::test::chaos
