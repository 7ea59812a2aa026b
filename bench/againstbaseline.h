#pragma once

#include "figures.h"

#include <benchmark/benchmark.h>

#include <string>

#include <time.h>

// CPU time of the calling thread, in seconds. On a shared machine the time a
// thread waits for a core says nothing about the code, so the client's own
// work is timed in CPU time.
inline double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs first and second one right after the other in every iteration and
// adds up the thread CPU time of each; the benchmark's own time is the one of
// `timed`. One untimed round first: the first call pays for allocations the
// later ones reuse.
struct AlternateTimes {
    double first = 0;
    double second = 0;
};
enum class Timed { First, Second };

template <typename First, typename Second>
AlternateTimes timeAlternately(benchmark::State& state, First&& first, Second&& second, Timed timed)
{
    first();
    second();
    AlternateTimes times;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        first();
        const double t1 = threadSeconds();
        second();
        const double t2 = threadSeconds();
        times.first += t1 - t0;
        times.second += t2 - t1;
        state.SetIterationTime(timed == Timed::First ? t1 - t0 : t2 - t1);
    }
    return times;
}

// Times a subject and its baseline in turns, so that whatever else the
// machine does weighs on both alike. The benchmark's time is the subject's;
// the counters give the baseline's time per iteration and the ratio, which
// is also reported as a figure.
template <typename Subject, typename Baseline>
void timeAgainstBaseline(benchmark::State& state, Subject&& subject, Baseline&& baseline,
                         const std::string& figure, double target = 0)
{
    const AlternateTimes t = timeAlternately(state, subject, baseline, Timed::First);
    const double iterations = double(state.iterations());
    state.counters["baseline_us"] = benchmark::Counter(t.second / iterations * 1e6);
    state.counters["ratio"] = benchmark::Counter(t.first / t.second);
    Figures::report(figure, t.first / t.second, target);
}

// Times two sizes of the same work in turns; reports how much longer the
// large one takes.
template <typename Small, typename Large>
void timeGrowth(benchmark::State& state, Small&& small, Large&& large, const std::string& figure,
                double target)
{
    const AlternateTimes t = timeAlternately(state, small, large, Timed::Second);
    const double iterations = double(state.iterations());
    state.counters["small_us"] = benchmark::Counter(t.first / iterations * 1e6);
    state.counters["growth"] = benchmark::Counter(t.second / t.first);
    Figures::report(figure, t.second / t.first, target);
}
