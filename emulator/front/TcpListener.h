#pragma once
// The register's TCP port: accepts connections and hands each connected
// socket to the owner (who serves it with a device session).
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace zel::emu {

class TTcpListener {
 public:
  using TAccept = std::function<void(int fd)>;  // takes ownership of fd
  ~TTcpListener();

  // Listens on address:port (port 0 picks a free one); throws std::runtime_error.
  void Listen(const std::string& address, std::uint16_t port);
  std::uint16_t Port() const { return port_; }
  void Start(TAccept onAccept);
  void Stop();  // no accepts after it returns

 private:
  void Run();
  int fd_ = -1;
  int wake_[2] = {-1, -1};
  std::uint16_t port_ = 0;
  TAccept onAccept_;
  std::thread thread_;
};

}  // namespace zel::emu
