#include "common/DeviceNotification.h"

#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace zel {

namespace {

std::string Format(const char* fmt, int code, const char* text) {
  char buf[512];
  std::snprintf(buf, sizeof buf, fmt, code, text);
  return buf;
}

// One thread for all watches of the process. It lives as long as the
// process: ports held by other static objects (a program's driver instance)
// close during exit, in an order no library controls, and each close still
// removes its watch here. Never destroyed, so that removal always finds it.
class TDeviceWatcher {
 public:
  static TDeviceWatcher& Instance() {
    static TDeviceWatcher* const watcher = new TDeviceWatcher;
    return *watcher;
  }

  // Returns the watch id and the errno of a udev set-up failure (0 when udev works).
  std::uint64_t Add(int fd, dev_t device, TDeviceNotification* owner, int& udevError) {
    std::lock_guard lock(FMutex);
    StartLocked();
    udevError = FUdevError;
    const std::uint64_t id = ++FLastId;
    FWatches[id] = {fd, device, owner, false};
    Wake();
    return id;
  }

  // Once this returns, no event for id runs and the watcher holds no reference
  // to its descriptor (a poll() in progress would keep the file, and so its
  // flock, alive after the owner closed it).
  void Remove(std::uint64_t id) {
    std::lock_guard dispatch(FDispatch);  // waits for a running event
    std::unique_lock lock(FMutex);
    FWatches.erase(id);
    const std::uint64_t version = ++FVersion;
    Wake();
    FPollDone.wait(lock, [&] { return !FPolling || FPollVersion >= version || !FThread.joinable(); });
  }

 private:
  struct TWatch {
    int Fd;
    dev_t Device;
    TDeviceNotification* Owner;
    bool Fired;
  };

  TDeviceWatcher() = default;

  void StartLocked() {
    if (FThread.joinable()) return;
    if (::pipe2(FWakePipe, O_CLOEXEC | O_NONBLOCK) != 0) FWakePipe[0] = FWakePipe[1] = -1;
    FUdev = udev_new();
    if (FUdev) FMonitor = udev_monitor_new_from_netlink(FUdev, "udev");
    if (FMonitor && (udev_monitor_filter_add_match_subsystem_devtype(FMonitor, "tty", nullptr) < 0 ||
                     udev_monitor_enable_receiving(FMonitor) < 0)) {
      udev_monitor_unref(FMonitor);
      FMonitor = nullptr;
    }
    if (!FMonitor) FUdevError = errno ? errno : ENODEV;
    FThread = std::thread([this] { Run(); });
  }

  void Wake() {
    if (FWakePipe[1] >= 0) {
      const char c = 0;
      [[maybe_unused]] const ssize_t n = ::write(FWakePipe[1], &c, 1);
    }
  }

  void Run() {
    std::vector<pollfd> fds;
    std::vector<std::uint64_t> ids;
    for (;;) {
      fds.clear();
      ids.clear();
      {
        std::lock_guard lock(FMutex);
        FPolling = true;
        FPollVersion = FVersion;
        fds.push_back({FWakePipe[0], POLLIN, 0});
        fds.push_back({FMonitor ? udev_monitor_get_fd(FMonitor) : -1, POLLIN, 0});
        for (const auto& [id, w] : FWatches) {
          if (w.Fired) continue;
          fds.push_back({w.Fd, 0, 0});  // no events asked: only hang-up and error are reported
          ids.push_back(id);
        }
      }
      const int r = ::poll(fds.data(), fds.size(), 1000);
      {
        std::lock_guard lock(FMutex);
        FPolling = false;
      }
      FPollDone.notify_all();
      if (r <= 0) continue;
      if (fds[0].revents & POLLIN) {
        char buf[64];
        while (::read(FWakePipe[0], buf, sizeof buf) > 0) {
        }
      }
      std::vector<std::uint64_t> gone;
      for (std::size_t i = 2; i < fds.size(); ++i)
        if (fds[i].revents & (POLLHUP | POLLERR)) gone.push_back(ids[i - 2]);
      dev_t removed = 0;
      if (fds[1].revents & POLLIN) removed = ReceiveRemoval();
      Dispatch(gone, removed);
    }
  }

  dev_t ReceiveRemoval() {
    udev_device* dev = udev_monitor_receive_device(FMonitor);
    if (!dev) return 0;
    dev_t removed = 0;
    const char* action = udev_device_get_action(dev);
    if (action && std::strcmp(action, "remove") == 0) removed = udev_device_get_devnum(dev);
    udev_device_unref(dev);
    return removed;
  }

  void Dispatch(const std::vector<std::uint64_t>& gone, dev_t removed) {
    if (gone.empty() && removed == 0) return;
    std::lock_guard dispatch(FDispatch);
    std::vector<TDeviceNotification*> owners;
    {
      std::lock_guard lock(FMutex);
      for (auto& [id, w] : FWatches) {
        if (w.Fired) continue;
        bool hit = removed != 0 && w.Device == removed;
        for (std::uint64_t g : gone) hit = hit || g == id;
        if (!hit) continue;
        w.Fired = true;
        owners.push_back(w.Owner);
      }
    }
    for (TDeviceNotification* owner : owners) owner->Notify(TDeviceNotification::kDeviceRemoveComplete);
  }

  std::mutex FMutex;     // watches, start and stop
  std::mutex FDispatch;  // held while events run
  std::map<std::uint64_t, TWatch> FWatches;
  std::uint64_t FLastId = 0;
  std::condition_variable FPollDone;
  std::uint64_t FVersion = 0;      // bumped by every removal
  std::uint64_t FPollVersion = 0;  // version the running poll's list was built from
  bool FPolling = false;
  std::thread FThread;
  int FWakePipe[2] = {-1, -1};
  udev* FUdev = nullptr;
  udev_monitor* FMonitor = nullptr;
  int FUdevError = 0;
};

}  // namespace

TDeviceNotification::~TDeviceNotification() { Uninstall(); }

void TDeviceNotification::Install(int fd) {
  Uninstall();
  struct stat st{};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    const int e = fd < 0 ? EBADF : errno;
    FLogger.Error(Format("Device Notification not assigned: %d, %s", e, std::strerror(e)));
    return;
  }
  int udevError = 0;
  FId = TDeviceWatcher::Instance().Add(fd, st.st_rdev, this, udevError);
  // Hang-ups of the descriptor are still seen without udev.
  if (udevError) FLogger.Error(Format("Device Notification not assigned: %d, %s", udevError, std::strerror(udevError)));
}

void TDeviceNotification::Uninstall() {
  if (FId == 0) return;
  TDeviceWatcher::Instance().Remove(FId);
  FId = 0;
}

void TDeviceNotification::Notify(unsigned eventCode) {
  char code[16];
  std::snprintf(code, sizeof code, "%.4X", eventCode);
  FLogger.Debug(std::string("DEVICECHANGE: ") + code);
  if (FOnDeviceChange) FOnDeviceChange(*this, eventCode);
}

}  // namespace zel
