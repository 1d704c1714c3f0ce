// The zelserv program in headless mode: --help, --version, serving from the
// settings file, and a clean stop on SIGTERM with every port closed.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/server/RpcClient.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempConfig.h"

namespace zel {
namespace {

// A child zelserv with its stderr on a pipe.
class TServerProcess {
 public:
  explicit TServerProcess(const std::vector<std::string>& args) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    FPid = fork();
    if (FPid == 0) {
      dup2(pipeFds[1], STDERR_FILENO);
      dup2(pipeFds[1], STDOUT_FILENO);
      std::vector<char*> argv{const_cast<char*>(ZELSERV_PATH)};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
      execv(ZELSERV_PATH, argv.data());
      _exit(127);
    }
    close(pipeFds[1]);
    FOut = pipeFds[0];
  }
  ~TServerProcess() {
    if (FPid > 0 && !FExited) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
    }
    close(FOut);
  }
  // Output until a line matches (or timeoutMs passed); the match or "".
  std::string WaitLine(const std::regex& pattern, int timeoutMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      for (std::size_t nl; (nl = FBuffer.find('\n')) != std::string::npos;) {
        std::string line = FBuffer.substr(0, nl);
        FBuffer.erase(0, nl + 1);
        FAll += line + "\n";
        if (std::regex_search(line, pattern)) return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {};
      pollfd p{FOut, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
      char chunk[1024];
      const ssize_t n = read(FOut, chunk, sizeof chunk);
      if (n <= 0) return {};
      FBuffer.append(chunk, static_cast<std::size_t>(n));
    }
  }
  // Exit status after the signal, or -1 when it did not end within timeoutMs.
  int Stop(int signal, int timeoutMs = 15000) {
    kill(FPid, signal);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (waitpid(FPid, &status, WNOHANG) == FPid) {
        FExited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      usleep(10000);
    }
    return -1;
  }
  int Wait(int timeoutMs = 15000) { return Stop(0, timeoutMs); }
  const std::string& Output() const { return FAll; }

 private:
  pid_t FPid = -1;
  int FOut = -1;
  bool FExited = false;
  std::string FBuffer, FAll;
};

TEST(HeadlessTest, HelpAndVersion) {
  TServerProcess version({"--version"});
  EXPECT_FALSE(version.WaitLine(std::regex("^zelserv " ZEL_VERSION "$")).empty()) << version.Output();
  EXPECT_EQ(version.Wait(), 0);
  TServerProcess help({"--help"});
  EXPECT_FALSE(help.WaitLine(std::regex("--headless")).empty());
  EXPECT_EQ(help.Wait(), 0);
}

TEST(HeadlessTest, ServesFromTheSettingsFileAndStopsCleanlyOnSigterm) {
  test::ScopedConfigHome home;
  std::filesystem::create_directories(home.Path() + "/Veltrona");
  std::ofstream(home.Path() + "/Veltrona/Zelserv.ini") << "[Zelvox]\n"
                                                          "A4\\Params\\TCPPort=0\n"
                                                          "A4\\Params\\TCPEnabled=1\n"
                                                          "[Zelserv]\n"
                                                          "Network\\BindAddress=127.0.0.1\n";
  test::PtyPair device;
  test::LinkCom(7, device.SlavePath());

  TServerProcess server({"--headless"});
  std::smatch m;
  const std::string line = server.WaitLine(std::regex("listening on 127\\.0\\.0\\.1:(\\d+)"));
  ASSERT_FALSE(line.empty()) << server.Output();
  const std::regex portPattern(":(\\d+)$");
  ASSERT_TRUE(std::regex_search(line, m, portPattern));
  const int port = std::stoi(m[1]);

  test::TRpcClient client(port);
  ASSERT_EQ(client.Code("Connect", R"([1,"test","here"])"), 0);
  ASSERT_EQ(client.Code("OpenPort", "[7,2,100]"), 0);
  ASSERT_EQ(client.Code("LockPort", "[7]"), 0);
  {
    const int fd = open(device.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0) << "the server holds the port";
    close(fd);
  }

  EXPECT_EQ(server.Stop(SIGTERM), 0) << server.Output();
  EXPECT_FALSE(server.WaitLine(std::regex("stopped; clients 0, open ports 0")).empty()) << server.Output();
  EXPECT_TRUE(client.ClosedByServer(5000));
  const int fd = open(device.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0) << "the port was closed";
  close(fd);
}

TEST(HeadlessTest, SwitchesReplaceStoredSettingsAndAreSaved) {
  test::ScopedConfigHome home;
  TServerProcess server({"--headless", "/t0", "/a", "/p3"});
  EXPECT_FALSE(server.WaitLine(std::regex("TCP is off")).empty()) << server.Output();
  EXPECT_EQ(server.Stop(SIGINT), 0) << server.Output();
  std::ifstream file(home.Path() + "/Veltrona/Zelserv.ini");
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  EXPECT_NE(text.find("A4\\Params\\AutoPortClose=1"), std::string::npos) << text;
  EXPECT_NE(text.find("A4\\Params\\CloseTimeout=3000"), std::string::npos) << text;
}

}  // namespace
}  // namespace zel
