#pragma once
// Timing and the printed table: every figure is the median of repeated runs
// with its spread (the interquartile range), every speed also a ratio
// against a baseline measured in the same run.

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Milliseconds since an arbitrary start, from QueryPerformanceCounter.
double NowMs();

class Samples {
 public:
  void Add(double value) { values_.push_back(value); }
  size_t Count() const { return values_.size(); }
  double Median() const { return Quantile(0.5); }
  double Quantile(double q) const;  // linear between the sorted values

 private:
  std::vector<double> values_;
};

// Times `run` (in ms) until `minimum` runs are done and either `maximum`
// runs or `budgetMs` are reached.
template <typename Run>
Samples Repeat(Run run, int minimum, int maximum, double budgetMs) {
  Samples samples;
  const double start = NowMs();
  while (static_cast<int>(samples.Count()) < maximum &&
         (static_cast<int>(samples.Count()) < minimum || NowMs() - start < budgetMs)) {
    const double t0 = NowMs();
    run();
    samples.Add(NowMs() - t0);
  }
  return samples;
}

// "1.234 (1.200-1.300)": the median and the interquartile range.
std::string Figure(const Samples& samples, int decimals = 3);
std::string Number(double value, int decimals);

// A section of the table: one row of text cells.
void PrintSection(const std::string& title, const std::vector<std::string>& header);
void PrintRow(const std::vector<std::string>& cells);

}  // namespace bench
