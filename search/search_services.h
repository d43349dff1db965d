#pragma once
// What the controller needs from the layers below it and from the window.
// The controller itself holds no window handle, so it can be driven by tests.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace search {

// The outcome of one HTTP fetch.
struct FetchOutcome {
  bool reached = false;    // a response arrived from the site
  std::string statusLine;  // "HTTP/1.1 200 OK"; empty when nothing arrived
  std::string body;        // the page as code-page-936 text
  bool broken = false;     // the connection failed before the whole body arrived
  bool timedOut = false;   // the site stopped answering for longer than a time-out
};

// Set by the window thread when nobody waits for an operation any more; the
// worker then stops as soon as it can.
using AbandonFlag = std::shared_ptr<std::atomic<bool>>;

// What the parser cuts out of a result page.
struct ResultPage {
  std::vector<std::string> names;
  std::vector<std::string> links;
  std::vector<std::string> details;
  std::string pagerText;            // the site's own "current/total" pager cell
  int32_t pagerCount = 0;           // the total of that cell, 0 when there is none
  bool regexEngineMissing = false;  // no regular-expression engine could run
};

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The layers below the controller. Every function may run on a worker
// thread except `now`, which the window thread calls.
struct SearchServices {
  std::function<std::string(const std::string& keyword)> encodeKeyword;
  std::function<FetchOutcome(const std::string& url, const std::atomic<bool>& abandoned)> fetch;
  std::function<ResultPage(const std::string& html)> parse;
  std::function<LocalTime()> now;
};

// The controls the controller reads and writes; implemented by the window.
class SearchView {
 public:
  virtual ~SearchView() = default;
  virtual std::string KeywordText() = 0;                           // 编辑框1
  virtual std::string PageNumberText() = 0;                        // 编辑框3
  virtual void ShowContent(const std::string& html) = 0;           // 简单超文本框1
  virtual void SetPageIndicator(const std::string& caption) = 0;   // 透明标签2
  virtual void ReplaceRows(const std::vector<std::string>& names,  // 超级列表框1
                           const std::vector<std::string>& links) = 0;
  virtual int RowCount() = 0;
};

}  // namespace search
