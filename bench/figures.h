#pragma once

#include <iosfwd>
#include <string>

// The figures a benchmark run stands for: ratios against a baseline measured
// in the same run, each with the target it is held to (or none). Benchmarks
// report them as they finish; the program prints them all at the end.
namespace Figures {

// target <= 0: reported without a target. A figure reported again (the
// benchmark library runs a case several times while it sizes it) replaces
// the earlier value.
void report(const std::string& name, double value, double target = 0, const std::string& note = {});

// Prints the table; returns how many targets were missed.
int print(std::ostream& out);

} // namespace Figures
