#pragma once

#include "figures.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

// Times a subject and its baseline one right after the other in every
// iteration, so that whatever else the machine does weighs on both alike.
// The benchmark's time is the subject's; the counters give the baseline's
// time per iteration and the ratio, which is also reported as a figure.
template <typename Subject, typename Baseline>
void timeAgainstBaseline(benchmark::State& state, Subject&& subject, Baseline&& baseline,
                         const std::string& figure, double target = 0)
{
    using Clock = std::chrono::steady_clock;
    // One untimed round first: the first call pays for allocations the later
    // ones reuse.
    subject();
    baseline();
    double subjectSeconds = 0;
    double baselineSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        subject();
        const auto t1 = Clock::now();
        baseline();
        const auto t2 = Clock::now();
        const double s = std::chrono::duration<double>(t1 - t0).count();
        subjectSeconds += s;
        baselineSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(s);
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
    using Clock = std::chrono::steady_clock;
    small();
    large();
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        small();
        const auto t1 = Clock::now();
        large();
        const auto t2 = Clock::now();
        smallSeconds += std::chrono::duration<double>(t1 - t0).count();
        const double l = std::chrono::duration<double>(t2 - t1).count();
        largeSeconds += l;
        state.SetIterationTime(l);
    }
    const double iterations = double(state.iterations());
    state.counters["small_us"] = benchmark::Counter(smallSeconds / iterations * 1e6);
    state.counters["growth"] = benchmark::Counter(largeSeconds / smallSeconds);
    Figures::report(figure, largeSeconds / smallSeconds, target);
}
