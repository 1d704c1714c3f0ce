#include "wizard/flow/device/ServiceSteps.h"

#include <stdexcept>

#include "common/Translate.h"
#include "wizard/flow/core/SerialNumber.h"

namespace zel {
namespace {
constexpr int kPasswordsTable = 2, kAdminRow = 30, kNameField = 2;
}

TSerialState ReadSerialState(TDeviceTables& dev) {
  TDisconnectGuard guard(dev);
  dev.Check(dev.Driver().ReadSerialNumber());
  TSerialState s;
  s.Serial = dev.Driver().get_SerialNumber();
  s.Entered = IsSerialEntered(s.Serial);
  return s;
}

TSerialEntryResult EnterSerial(TDeviceTables& dev, const std::string& fieldText) {
  TSerialEntryResult r;
  if (fieldText.empty()) return r;
  const std::string value = SerialPart(fieldText);
  if (!IsWritableSerial(value))
    throw std::runtime_error(Tr("Заводской номер должен содержать от 1 до 20 цифр и не состоять из нулей: ") +
                             "\"" + value + "\"");
  TDisconnectGuard guard(dev);
  dev.Check(dev.Driver().ReadSerialNumber());
  const std::string current = dev.Driver().get_SerialNumber();
  if (IsSerialEntered(current)) {
    r.Outcome = ESerialEntry::AlreadyEntered;
    r.DeviceSerial = current;
    r.Message = Tr("Заводской номер уже введен!\r\n") + current;
    return r;
  }
  dev.Driver().put_SerialNumber(value);
  dev.Check(dev.Driver().SetSerialNumber());
  r.Outcome = ESerialEntry::Written;
  r.Message = Tr("Заводской номер успешно введен!\r\nПерезагрузите устройство");
  return r;
}

void WriteCashierName(TDeviceTables& dev, const std::string& cashier) {
  if (cashier.empty()) throw std::runtime_error(Tr("Введите имя и должность кассира"));
  dev.WriteStr(kPasswordsTable, kAdminRow, kNameField, cashier);
}

const TArchiveClosing& TArchiveCloser::Close(TDeviceTables& dev) {
  if (FLast.Done) return FLast;
  TDisconnectGuard guard(dev);
  TArchiveClosing r;
  r.Done = true;
  r.ResultCode = dev.Driver().FNCloseFiscalMode();
  if (r.ResultCode != 0)
    r.Text = Tr("Ошибка при закрытии архива ФН: ") + std::to_string(r.ResultCode) + ", " +
             dev.Driver().get_ResultCodeDescription();
  else
    r.Text = Tr("Архив ФН успешно закрыт ");
  FLast = r;
  return FLast;
}

std::string PrintCalculationStateReport(TDeviceTables& dev) {
  TDisconnectGuard guard(dev);
  dev.Check(dev.Driver().FNBuildCalculationStateReport());
  return Tr("Отчет успешно распечатан");
}

}  // namespace zel
