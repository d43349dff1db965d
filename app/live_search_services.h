#pragma once
// The real layers below the search controller: keyword encoding, the HTTP
// routine, the result-page parser and the clock.

#include "search/search_services.h"

namespace app {

search::SearchServices MakeSearchServices();

// A plain GET of `url` with the default header block.
search::FetchOutcome FetchPageOverHttp(const std::string& url);

}  // namespace app
