// Port enumeration over the udev device database, plus the COM links users pin
// to devices udev does not list (pseudo terminals of virtual registers).
#include <libudev.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "common/ComResolver.h"
#include "wizard/device/core/ComportUtils.h"

namespace zel {

namespace {
namespace fs = std::filesystem;

std::string Str(const char* s) { return s ? s : ""; }

struct TUdevDeleter {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <class T>
using TUdevPtr = std::unique_ptr<T, TUdevDeleter>;

// Virtual terminals and the placeholder UARTs the kernel creates for every
// possible legacy port have no hardware behind them: they are not ports.
bool IsRealPort(udev_device* dev) {
  udev_device* parent = udev_device_get_parent(dev);
  if (!parent) return false;
  const std::string subsystem = Str(udev_device_get_subsystem(parent));
  const std::string driver = Str(udev_device_get_driver(parent));
  return !(subsystem == "platform" && driver == "serial8250");
}

TTtyDeviceInfo InfoOf(udev_device* dev) {
  TTtyDeviceInfo info;
  info.DevNode = Str(udev_device_get_devnode(dev));
  info.VendorId = Str(udev_device_get_property_value(dev, "ID_VENDOR_ID"));
  info.ModelId = Str(udev_device_get_property_value(dev, "ID_MODEL_ID"));
  info.Model = Str(udev_device_get_property_value(dev, "ID_MODEL_FROM_DATABASE"));
  if (info.Model.empty()) info.Model = Str(udev_device_get_property_value(dev, "ID_MODEL"));
  info.IdPath = Str(udev_device_get_property_value(dev, "ID_PATH"));
  // Without a running udev daemon the properties are missing; the USB device's own attributes tell the same.
  if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_device")) {
    if (info.VendorId.empty()) info.VendorId = Str(udev_device_get_sysattr_value(usb, "idVendor"));
    if (info.ModelId.empty()) info.ModelId = Str(udev_device_get_sysattr_value(usb, "idProduct"));
    if (info.Model.empty()) info.Model = Str(udev_device_get_sysattr_value(usb, "product"));
  }
  if (info.IdPath.empty()) info.IdPath = Str(udev_device_get_devpath(dev));
  return info;
}

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const fs::path p = fs::weakly_canonical(path, ec);
  return ec ? path : p.string();
}

void AddUdevPorts(TSerialPorts& ports) {
  TUdevPtr<udev> u(udev_new());
  if (!u) return;
  TUdevPtr<udev_enumerate> e(udev_enumerate_new(u.get()));
  if (!e || udev_enumerate_add_match_subsystem(e.get(), "tty") < 0 || udev_enumerate_scan_devices(e.get()) < 0)
    return;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get())) {
    TUdevPtr<udev_device> dev(udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
    if (!dev || !udev_device_get_devnode(dev.get()) || !IsRealPort(dev.get())) continue;
    const TTtyDeviceInfo info = InfoOf(dev.get());
    const int number = ComNumberOfDevice(info.DevNode);
    if (number <= 0) continue;
    ports.Add(MakePortRec(info, number));
  }
}

// COMn links whose device exists and is not listed yet.
void AddPinnedPorts(TSerialPorts& ports) {
  std::vector<std::string> listed;
  for (const auto& p : ports.Items) listed.push_back(Canonical(p.DevicePath));
  for (int n = 1; n <= kMaxComNumber; ++n) {
    const std::string link = ComLinkPath(n);
    std::error_code ec;
    if (!fs::is_symlink(link, ec) || !fs::exists(link, ec) || ports.IndexOfComNumber(n) >= 0) continue;
    const std::string target = Canonical(link);
    if (std::find(listed.begin(), listed.end(), target) != listed.end()) continue;
    TTtyDeviceInfo info;
    info.DevNode = link;
    info.Model = target;
    info.IdPath = target;
    ports.Add(MakePortRec(info, n));
    listed.push_back(target);
  }
}
}  // namespace

void TSerialPorts::EnumPorts() {
  Clear();
  AddUdevPorts(*this);
  AddPinnedPorts(*this);
  std::stable_sort(Items.begin(), Items.end(),
                   [](const TSerialPortRec& a, const TSerialPortRec& b) { return a.ComNumber < b.ComNumber; });
}

}  // namespace zel
