#include "search/search_controller.h"

#include <utility>

#include "search/search_summary.h"

namespace search {

namespace {

const char kSearchStatus[] = "开始搜索。。。。网络资源较多，请稍等。";
const char kPagingStatus[] = "跳转中。。";
const char kNoRegexEngine[] = "无法读取结果页面：系统缺少正则表达式引擎。";
const char kUnreadableSite[] = "搜索失败：无法连接到搜索网站，请检查网络后再试。";
const char kWorkerNotStarted[] = "搜索失败：无法启动搜索任务，请稍后再试。";

// Page arithmetic wraps like the 32-bit counters it works on.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

}  // namespace

const char kTimeOutMessage[] = "搜索失败：等待搜索网站回应超时，请稍后再试。";

int32_t LeadingInteger(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  return Wrap(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
}

int StatusCode(const std::string& statusLine) {
  const size_t space = statusLine.find(' ');
  if (statusLine.compare(0, 5, "HTTP/") != 0 || space == std::string::npos) return 0;
  return LeadingInteger(statusLine.substr(space + 1));
}

std::string FetchFailureMessage(const FetchOutcome& fetch) {
  if (fetch.timedOut) return kTimeOutMessage;
  if (!fetch.reached) return kUnreadableSite;
  const int status = StatusCode(fetch.statusLine);
  if (status >= 400) return "搜索失败：搜索网站返回了错误状态 " + std::to_string(status) + "。";
  if (fetch.broken) return kUnreadableSite;
  if (fetch.body.empty()) return "搜索失败：搜索网站返回了空白页面。";
  return {};
}

SearchController::SearchController(SearchSession& session, SearchView& view, SearchServices services,
                                   std::string siteRoot)
    : session_(session), view_(view), services_(std::move(services)), siteRoot_(std::move(siteRoot)) {}

bool SearchController::Start(SearchOperation operation, const std::function<bool(const PageRequest&)>& launch) {
  const PageRequest request = Begin(operation);
  if (!launch(request)) {
    awaited_ = previous_;
    previous_ = {};
    view_.ShowContent(kWorkerNotStarted);
    return false;
  }
  if (previous_.abandoned) *previous_.abandoned = true;
  previous_ = {};
  return true;
}

PageRequest SearchController::Begin(SearchOperation operation) {
  PageRequest request;
  request.operation = operation;
  request.sequence = ++lastSequence_;
  previous_ = awaited_;
  awaited_ = {request.sequence, request.abandoned};
  view_.ShowContent(operation == SearchOperation::Search ? kSearchStatus : kPagingStatus);

  const std::string k = services_.encodeKeyword(view_.KeywordText());
  int32_t p = 0;
  switch (operation) {
    case SearchOperation::Search:
      request.url = siteRoot_ + "/search?info_hash=&q=" + k;
      request.pageToShow = 1;
      return request;
    case SearchOperation::NextPage:
      p = session_.currentPage;
      request.pageToShow = Wrap(int64_t{session_.currentPage} + 1);
      break;
    case SearchOperation::PreviousPage:
      request.pageToShow = Wrap(int64_t{session_.currentPage} - 1);
      p = Wrap(int64_t{request.pageToShow} - 1);
      break;
    case SearchOperation::GoToPage:
      request.pageToShow = LeadingInteger(view_.PageNumberText());
      p = Wrap(int64_t{request.pageToShow} - 1);
      break;
  }
  request.url = siteRoot_ + "/search?q=" + k + "&p=" + std::to_string(p);
  return request;
}

PageOutcome FetchPage(const SearchServices& services, const PageRequest& request) {
  PageOutcome outcome;
  outcome.request = request;
  outcome.fetch = services.fetch(request.url, *request.abandoned);
  if (FetchFailureMessage(outcome.fetch).empty() && !*request.abandoned) {
    outcome.page = services.parse(outcome.fetch.body);
  }
  return outcome;
}

bool SearchController::Complete(const PageOutcome& outcome) {
  if (awaited_.sequence == 0 || outcome.request.sequence != awaited_.sequence) return false;
  awaited_ = {};

  // A failure is reported as such; the counters stay with the page before.
  const std::string failure = FetchFailureMessage(outcome.fetch);
  if (!failure.empty()) {
    ShowFailure(failure);
    return true;
  }
  if (outcome.page.regexEngineMissing) {
    ShowFailure(kNoRegexEngine);
    return true;
  }

  session_.pageHtml = outcome.fetch.body;
  session_.names = outcome.page.names;
  session_.links = outcome.page.links;
  session_.details = outcome.page.details;
  view_.ReplaceRows(session_.names, session_.links);

  switch (outcome.request.operation) {
    case SearchOperation::Search:
    case SearchOperation::GoToPage:
      ShowSearchSummary(outcome.page);
      session_.currentPage = outcome.request.pageToShow;
      break;
    case SearchOperation::NextPage:
    case SearchOperation::PreviousPage:
      session_.currentPage = outcome.request.pageToShow;
      ShowPagingSummary();
      break;
  }
  return true;
}

bool SearchController::Expire() {
  if (awaited_.sequence == 0) return false;
  *awaited_.abandoned = true;
  awaited_ = {};
  ShowFailure(kTimeOutMessage);
  return true;
}

// The page before is gone from the list and the indicator; the counters
// stay as they were.
void SearchController::ShowFailure(const std::string& message) {
  session_.pageHtml.clear();
  session_.names.clear();
  session_.links.clear();
  session_.details.clear();
  view_.ReplaceRows({}, {});
  view_.SetPageIndicator("");
  view_.ShowContent(message);
}

void SearchController::ShowSearchSummary(const ResultPage& page) {
  session_.pageCount = 0;
  session_.currentPage = 1;
  view_.SetPageIndicator(" " + page.pagerText + " ");
  view_.ShowContent(SummaryText(services_.now(), view_.RowCount(), page.pagerCount));
  session_.pageCount = page.pagerCount;
}

void SearchController::ShowPagingSummary() {
  view_.SetPageIndicator(CounterIndicator(session_.currentPage, session_.pageCount));
  view_.ShowContent(SummaryText(services_.now(), view_.RowCount(), session_.pageCount));
}

}  // namespace search
