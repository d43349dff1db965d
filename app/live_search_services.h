#pragma once
// The real layers below the search controller: keyword encoding, the HTTP
// routine, the result-page parser and the clock.

#include "search/search_services.h"

namespace app {

search::SearchServices MakeSearchServices();

// A plain GET of `url` with the default header block.
// Reading stops once `abandoned` is set.
search::FetchOutcome FetchPageOverHttp(const std::string& url, const std::atomic<bool>& abandoned);

}  // namespace app
