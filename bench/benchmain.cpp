// main() of the benchmark programs: the benchmark library inside a Qt
// application (sockets, timers and windows need one), then the figures.
//
// The exit status is 1 when a benchmark could not run (it reported an error),
// so a benchmark that rots fails the test command; a missed target fails it
// only with ZEN_BENCH_STRICT=1, since timings on a shared machine vary.
#include "figures.h"

#include <benchmark/benchmark.h>

#include <iostream>

#ifdef ZEN_BENCH_WINDOWS
#include <QApplication>
using BenchApplication = QApplication;
#else
#include <QCoreApplication>
using BenchApplication = QCoreApplication;
#endif

namespace {

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            errors += run.error_occurred ? 1 : 0;
        ConsoleReporter::ReportRuns(runs);
    }
    int errors = 0;
};

} // namespace

int main(int argc, char** argv)
{
#ifdef ZEN_BENCH_WINDOWS
    // Windows are drawn off screen unless told otherwise: no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    BenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const int missed = Figures::print(std::cout);
    if (reporter.errors > 0) {
        std::cout << reporter.errors << " benchmark(s) could not run\n";
        return 1;
    }
    return missed > 0 && qEnvironmentVariableIntValue("ZEN_BENCH_STRICT") == 1 ? 1 : 0;
}
