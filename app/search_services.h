#pragma once
// The real layers below the search controller: keyword encoding, the HTTP
// routine, the result-page parser and the clock.

#include "search/search_services.h"

namespace app {

search::SearchServices MakeSearchServices();

}  // namespace app
