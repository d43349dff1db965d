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

#include <cstdint>
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

// The worker's step: downloads and parses the requested page. It touches
// neither the session nor any control.
PageOutcome FetchPage(const SearchServices& services, const PageRequest& request);

class SearchController {
 public:
  // siteRoot: scheme and host of the search site, e.g. "http://example.org".
  SearchController(SearchSession& session, SearchView& view, SearchServices services, std::string siteRoot);

  PageRequest Begin(SearchOperation operation);
  // Returns false when the outcome is stale and was dropped.
  bool Complete(const PageOutcome& outcome);

 private:
  void ShowFailure(const std::string& message);
  void ShowSearchSummary(const ResultPage& page);
  void ShowPagingSummary();

  SearchSession& session_;
  SearchView& view_;
  SearchServices services_;
  std::string siteRoot_;
  uint32_t latestSequence_ = 0;
};

}  // namespace search
