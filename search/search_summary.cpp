#include "search/search_summary.h"

#include <cmath>
#include <cstdio>

namespace search {

std::string SummaryDateText(const LocalTime& t) {
  char text[96];
  int n = std::snprintf(text, sizeof text, "%d年%d月%d日", t.year, t.month, t.day);
  if (t.second != 0) {
    std::snprintf(text + n, sizeof text - n, "%d时%d分%d秒", t.hour, t.minute, t.second);
  } else if (t.minute != 0) {
    std::snprintf(text + n, sizeof text - n, "%d时%d分", t.hour, t.minute);
  } else if (t.hour != 0) {
    std::snprintf(text + n, sizeof text - n, "%d时", t.hour);
  }
  return text;
}

std::string EstimateText(double estimate) {
  char text[64];
  // %.13g writes integers of up to 13 digits in full and larger ones with
  // 13 significant digits and an exponent.
  std::snprintf(text, sizeof text, "%.13g", std::trunc(estimate));
  return text;
}

std::string SummaryText(const LocalTime& time, int rows, int32_t pageCount) {
  const double estimate = static_cast<double>(pageCount) * static_cast<double>(rows);
  return SummaryDateText(time) + "\r\n搜索完成：本页共有资源" + std::to_string(rows) +
         "个\r\n          预计共有资源：" + EstimateText(estimate) + "个";
}

std::string CounterIndicator(int32_t currentPage, int32_t pageCount) {
  return " " + std::to_string(currentPage) + "/" + std::to_string(pageCount) + " ";
}

}  // namespace search
