// WebAccess against a failing site: tools/test_http_server.py serving
// web_access_fault_routes.json on loopback (TEST_HTTP_PORT).

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "web/web_access.h"

namespace {

std::string ServerUrl(const std::string& path) {
  const char* port = std::getenv("TEST_HTTP_PORT");
  return std::string("http://127.0.0.1:") + (port ? port : "0") + path;
}

struct Fetched {
  std::string body;
  std::string headers;
  unsigned long error = 0;
  DWORD milliseconds = 0;
};

Fetched Fetch(const std::string& path, const std::atomic<bool>* abandoned = nullptr) {
  Fetched fetched;
  web::Transfer transfer;
  transfer.abandoned = abandoned;
  const DWORD started = GetTickCount();
  fetched.body = web::WebAccess(ServerUrl(path), 0, std::string(), nullptr, nullptr, nullptr, nullptr, false, nullptr,
                                std::nullopt, &fetched.headers, &transfer);
  fetched.milliseconds = GetTickCount() - started;
  fetched.error = transfer.error;
  return fetched;
}

TEST(WebAccessFaults, TransferTellsHowTheExchangeEnded) {
  ASSERT_NE(std::getenv("TEST_HTTP_PORT"), nullptr) << "run this program through tests/web/with_http_server.sh";
  const struct {
    const char* path;
    unsigned long error;
    size_t bodySize;
  } cases[] = {
      {"/whole", 0, 5013},
      {"/reset", ERROR_INTERNET_CONNECTION_RESET, 0},  // part of the body, size not fixed
      {"/stall", ERROR_INTERNET_TIMEOUT, 0},
  };
  for (const auto& c : cases) {
    const Fetched fetched = Fetch(c.path);
    std::printf("%-8s ended after %lu ms with error %lu\n", c.path, fetched.milliseconds, fetched.error);
    EXPECT_EQ(fetched.error, c.error) << c.path;
    if (c.error == 0) {
      EXPECT_EQ(fetched.body.size(), c.bodySize);
    } else if (c.error == ERROR_INTERNET_CONNECTION_RESET) {
      EXPECT_LT(fetched.body.size(), 5013u);
    } else {
      EXPECT_TRUE(fetched.headers.empty());
    }
    // The receive time-out bounds a stall; this only catches a hang.
    EXPECT_LT(fetched.milliseconds, web::kReceiveTimeoutMs + 10000) << c.path;
  }
}

TEST(WebAccessFaults, AbandonedExchangeStopsReading) {
  std::atomic<bool> abandoned{false};
  std::thread abandon([&] {
    Sleep(600);
    abandoned = true;
  });
  const Fetched fetched = Fetch("/trickle", &abandoned);
  abandon.join();
  std::printf("abandoned after %lu ms with %zu of 4000 bytes\n", fetched.milliseconds, fetched.body.size());
  EXPECT_EQ(fetched.error, static_cast<unsigned long>(ERROR_INTERNET_OPERATION_CANCELLED));
  EXPECT_LT(fetched.body.size(), 4000u);
  EXPECT_LT(fetched.milliseconds, 6000u) << "the whole body takes 8 s";
}

}  // namespace
