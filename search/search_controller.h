#pragma once
// Turns the five search and paging buttons into page requests and applies
// their outcomes.
//
// An operation has three steps: Begin (window thread) writes the status
// text, reads the keyword and the counters and builds the request; FetchPage
// (worker thread) downloads and parses the page without touching the session
// or any control; Complete (window thread) applies the outcome, unless a newer
// operation has begun since, so every completed operation leaves a list,
// details and a summary that belong to one page.
//
// The window waits for one operation at a time: a newer one abandons it, and
// so does its deadline. An abandoned worker stops as soon as it can and its
// late outcome is dropped.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "search/search_services.h"
#include "search/search_session.h"

namespace search {

enum class SearchOperation { Search, NextPage, PreviousPage, GoToPage };

struct PageRequest {
  SearchOperation operation = SearchOperation::Search;
  uint32_t sequence = 0;
  std::string url;
  int32_t pageToShow = 1;  // the number of the page once this request is on display
  AbandonFlag abandoned = std::make_shared<std::atomic<bool>>(false);
};

struct PageOutcome {
  PageRequest request;
  FetchOutcome fetch;
  ResultPage page;
};

// "5" → 5, "-3x" → -3, "" or "abc" → 0: an optional sign and the leading digits.
int32_t LeadingInteger(const std::string& text);

// The status code of "HTTP/1.1 404 Not Found"; 0 when there is none.
int StatusCode(const std::string& statusLine);

// Why a fetch gave no page to show, as a message for the user; empty when
// the page arrived.
std::string FetchFailureMessage(const FetchOutcome& fetch);

// The message shown when an operation runs out of time.
extern const char kTimeOutMessage[];

// The worker's step: downloads and parses the requested page. It touches
// neither the session nor any control.
PageOutcome FetchPage(const SearchServices& services, const PageRequest& request);

class SearchController {
 public:
  // siteRoot: scheme and host of the search site, e.g. "http://example.org".
  SearchController(SearchSession& session, SearchView& view, SearchServices services, std::string siteRoot);

  // Begins `operation` and hands its request to `launch`, which starts the
  // worker. A worker that cannot be started is reported, and an operation
  // still in flight from before goes on; once one starts, the operation
  // before it is abandoned. Returns whether the worker started.
  bool Start(SearchOperation operation, const std::function<bool(const PageRequest&)>& launch);
  // Writes the status text and builds the request; the window then waits
  // for this operation.
  PageRequest Begin(SearchOperation operation);
  // Returns false when the outcome is stale and was dropped.
  bool Complete(const PageOutcome& outcome);
  // The operation waited for has run out of time: it is abandoned and
  // reported as a time-out. Returns false when none was waited for.
  bool Expire();

 private:
  struct Awaited {
    uint32_t sequence = 0;  // 0: none
    AbandonFlag abandoned;
  };

  void ShowFailure(const std::string& message);
  void ShowSearchSummary(const ResultPage& page);
  void ShowPagingSummary();

  SearchSession& session_;
  SearchView& view_;
  SearchServices services_;
  std::string siteRoot_;
  uint32_t lastSequence_ = 0;
  Awaited awaited_;
  Awaited previous_;  // waited for until the last Begin; abandoned once its successor starts
};

}  // namespace search
