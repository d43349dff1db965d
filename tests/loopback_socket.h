#pragma once
// A listening socket on 127.0.0.1 for tests that play a site of their own.

#include <winsock2.h>

namespace tests {

// Starts Winsock for the life of the object and listens on a port the
// system picks.
class LoopbackListener {
 public:
  LoopbackListener() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(socket_, reinterpret_cast<sockaddr*>(&address), size);
    listen(socket_, 8);
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ~LoopbackListener() {
    closesocket(socket_);
    WSACleanup();
  }
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  SOCKET socket() const { return socket_; }
  int port() const { return port_; }

 private:
  SOCKET socket_;
  int port_ = 0;
};

}  // namespace tests
