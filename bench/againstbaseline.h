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

// Times a subject and its baseline one right after the other in every
// iteration (thread CPU time), so that whatever else the machine does weighs
// on both alike.
// The benchmark's time is the subject's; the counters give the baseline's
// time per iteration and the ratio, which is also reported as a figure.
template <typename Subject, typename Baseline>
void timeAgainstBaseline(benchmark::State& state, Subject&& subject, Baseline&& baseline,
                         const std::string& figure, double target = 0)
{
    // One untimed round first: the first call pays for allocations the later
    // ones reuse.
    subject();
    baseline();
    double subjectSeconds = 0;
    double baselineSeconds = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        subject();
        const double t1 = threadSeconds();
        baseline();
        const double t2 = threadSeconds();
        subjectSeconds += t1 - t0;
        baselineSeconds += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double iterations = double(state.iterations());
    state.counters["baseline_us"] = benchmark::Counter(baselineSeconds / iterations * 1e6);
    state.counters["ratio"] = benchmark::Counter(subjectSeconds / baselineSeconds);
    Figures::report(figure, subjectSeconds / baselineSeconds, target);
}

// Times two sizes of the same work alternately; reports how much longer the
// large one takes.
template <typename Small, typename Large>
void timeGrowth(benchmark::State& state, Small&& small, Large&& large, const std::string& figure,
                double target)
{
    small();
    large();
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        small();
        const double t1 = threadSeconds();
        large();
        const double t2 = threadSeconds();
        smallSeconds += t1 - t0;
        largeSeconds += t2 - t1;
        state.SetIterationTime(t2 - t1);
    }
    const double iterations = double(state.iterations());
    state.counters["small_us"] = benchmark::Counter(smallSeconds / iterations * 1e6);
    state.counters["growth"] = benchmark::Counter(largeSeconds / smallSeconds);
    Figures::report(figure, largeSeconds / smallSeconds, target);
}
