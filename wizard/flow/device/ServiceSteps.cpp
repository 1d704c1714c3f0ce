#include "wizard/flow/device/ServiceSteps.h"

#include <stdexcept>

#include "common/Translate.h"
#include "driver/DateTimeConv.h"
#include "wizard/flow/core/SerialNumber.h"

namespace zel {
namespace {
constexpr int kPasswordsTable = 2, kAdminRow = 30, kNameField = 2;
}

TSerialState ReadSerialState(TDeviceTables& dev) {
  TDisconnectGuard guard(dev.Driver());
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
  TDisconnectGuard guard(dev.Driver());
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

namespace {
std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(' ') - b + 1);
}
}  // namespace

TX5CloseFNRec ReadX5CloseData(TDeviceTables& dev) {
  TZelvox& d = dev.Driver();
  TX5CloseFNRec r;
  r.DocNumber = static_cast<int>(d.get_DocumentNumber());
  r.FiscalSign = d.get_FiscalSignAsString();
  auto field = [&](int f) { return Trim(dev.ReadStr(18, 1, f)); };
  r.Address = field(9);
  r.PayPlace = field(14);
  r.UserName = field(7);
  r.INN = field(2);
  r.RNM = field(3);
  r.KKTSerial = field(1);
  r.FFD = dev.ReadFFD();
  r.Cashier = field(8);
  r.FNSerial = field(4);
  dev.Check(d.FNGetStatus());
  d.put_DocumentNumber(r.DocNumber);
  dev.Check(d.FNFindDocument());
  const TDate date = DateOf(d.get_Date());
  const TTime time = TimeOf(d.get_Time());
  r.DateTime = {date.Year, date.Month, date.Day, time.Hour, time.Minute, time.Second};
  dev.Check(d.FNGetCurrentSessionParams());
  r.SessionNumber = static_cast<int>(d.get_SessionNumber());
  return r;
}

const TArchiveClosing& TArchiveCloser::Close(TDeviceTables& dev, bool x5Mode) {
  if (FLast.Done) return FLast;
  TDisconnectGuard guard(dev.Driver());
  TArchiveClosing r;
  r.Done = true;
  r.ResultCode = dev.Driver().FNCloseFiscalMode();
  if (r.ResultCode != 0)
    r.Text = Tr("Ошибка при закрытии архива ФН: ") + std::to_string(r.ResultCode) + ", " +
             dev.Driver().get_ResultCodeDescription();
  else
    r.Text = Tr("Архив ФН успешно закрыт ");
  if (r.ResultCode == 0 && x5Mode) {
    try {
      r.X5 = ReadX5CloseData(dev);
      r.HasX5 = true;
    } catch (const std::exception& e) {
      r.X5Error = e.what();
    }
  }
  FLast = r;
  return FLast;
}

std::string PrintCalculationStateReport(TDeviceTables& dev) {
  TDisconnectGuard guard(dev.Driver());
  dev.Check(dev.Driver().FNBuildCalculationStateReport());
  return Tr("Отчет успешно распечатан");
}

}  // namespace zel
