#include "bench/stats.h"

#include <algorithm>
#include <cstdio>

namespace bench {

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

double Samples::Quantile(double q) const {
  if (values_.empty()) return 0;
  std::vector<double> sorted = values_;
  std::sort(sorted.begin(), sorted.end());
  const double at = q * static_cast<double>(sorted.size() - 1);
  const size_t below = static_cast<size_t>(at);
  const size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

std::string Number(double value, int decimals) {
  char text[64];
  snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Figure(const Samples& samples, int decimals) {
  return Number(samples.Median(), decimals) + " (" + Number(samples.Quantile(0.25), decimals) + "-" +
         Number(samples.Quantile(0.75), decimals) + ")";
}

namespace {

void PrintCells(const std::vector<std::string>& cells) {
  std::string line = "|";
  for (const std::string& cell : cells) line += " " + cell + " |";
  printf("%s\n", line.c_str());
}

}  // namespace

void PrintSection(const std::string& title, const std::vector<std::string>& header) {
  printf("\n%s\n\n", title.c_str());
  PrintCells(header);
  PrintCells(std::vector<std::string>(header.size(), "---"));
  fflush(stdout);
}

void PrintRow(const std::vector<std::string>& cells) {
  PrintCells(cells);
  fflush(stdout);
}

}  // namespace bench
