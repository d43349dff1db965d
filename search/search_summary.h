#pragma once
// The summary and page indicator written after every page has been loaded.

#include <cstdint>
#include <string>

#include "search/search_services.h"

namespace search {

// "2013年3月5日9时": the date, then the time down to its last non-zero unit.
std::string SummaryDateText(const LocalTime& time);

// pageCount × rows as a decimal integer; beyond 13 digits, 13 significant
// digits in exponent notation.
std::string EstimateText(double estimate);

std::string SummaryText(const LocalTime& time, int rows, int32_t pageCount);

// " 2/120 ": the indicator built from the counters.
std::string CounterIndicator(int32_t currentPage, int32_t pageCount);

}  // namespace search
