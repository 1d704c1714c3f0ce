#include "testbench/core/Driver.h"

#include <QLocale>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "common/Translate.h"
#include "testbench/core/util/Amount.h"
#include "testbench/core/util/BinUtils.h"
#include "testbench/core/util/PrintText.h"

namespace zel {

namespace {
std::mutex gMutex;
std::shared_ptr<TDriver> gDriver;

// Tag types of the driver.
constexpr int kTagByte = 0;
constexpr int kTagUnixTime = 6;
constexpr int kTagString = 7;
}  // namespace

void Check(int resultCode) {
  if (resultCode != 0) throw EAbort();
}

// ---- tables

int TDriver::CorrectTableNumber(int number) {
  return zel::CorrectTableNumber(number, [this](int paramId) { return ReadIntParam(paramId); });
}

std::int64_t TDriver::ReadTableInt(int table, int row, int field) {
  TLock lock = Lock();
  put_RowNumber(row);
  put_TableNumber(CorrectTableNumber(table));
  put_FieldNumber(field);
  Check(ReadTable());
  return get_ValueOfFieldInteger();
}

std::string TDriver::ReadTableStr(int table, int row, int field) {
  TLock lock = Lock();
  put_RowNumber(row);
  put_TableNumber(CorrectTableNumber(table));
  put_FieldNumber(field);
  Check(ReadTable());
  return get_ValueOfFieldString();
}

std::int64_t TDriver::ReadTableDef(int table, int row, int field, std::int64_t def) {
  TLock lock = Lock();
  put_RowNumber(row);
  put_TableNumber(table);
  put_FieldNumber(field);
  if (ReadTable() != 0) return def;
  return get_ValueOfFieldInteger();
}

void TDriver::WriteTableInt(int table, int row, int field, std::int64_t value) {
  TLock lock = Lock();
  put_TableNumber(table);
  put_RowNumber(row);
  put_FieldNumber(field);
  put_ValueOfFieldInteger(value);
  Check(WriteTable());
}

// ---- model parameters

int TDriver::ReadIntParam(int paramId) {
  TLock lock = Lock();
  put_ModelParamNumber(paramId);
  Check(ReadModelParamValue());
  const TPropValue v = get_ModelParamValue();
  if (v.Kind == TPropType::Int || v.Kind == TPropType::Bool) return static_cast<int>(v.Int);
  int value = 0;
  const char* end = v.Text.data() + v.Text.size();
  if (auto [p, ec] = std::from_chars(v.Text.data(), end, value); ec != std::errc() || p != end || v.Text.empty())
    throw std::runtime_error("'" + v.Text + "' " + Tr("не является целым числом"));
  return value;
}

bool TDriver::ReadBoolParam(int paramId) {
  TLock lock = Lock();
  put_ModelParamNumber(paramId);
  Check(ReadModelParamValue());
  const TPropValue v = get_ModelParamValue();
  return (v.Kind == TPropType::Bool || v.Kind == TPropType::Int) && v.Int != 0;
}

std::string TDriver::AmountToStr(double value) const {
  const QString separator = QLocale().decimalPoint();
  return zel::AmountToStr(value, get_PointPosition(), separator.isEmpty() ? '.' : separator.at(0).toLatin1());
}

// ---- tags

void TDriver::AddTagByte(int tag, std::uint8_t value) {
  TLock lock = Lock();
  put_TagNumber(tag);
  put_TagType(kTagByte);
  put_TagValueInt(value);
  Check(FNAddTag());
}

void TDriver::AddTagStr(int tag, const std::string& value) {
  TLock lock = Lock();
  put_TagNumber(tag);
  put_TagType(kTagString);
  put_TagValueStr(value);
  Check(FNAddTag());
}

void TDriver::AddTagUnixTime(int tag, double value) {
  TLock lock = Lock();
  put_TagNumber(tag);
  put_TagType(kTagUnixTime);
  put_TagValueDateTime(value);
  Check(FNAddTag());
}

void TDriver::SendTagStr(int tag, const std::string& value) {
  TLock lock = Lock();
  put_TagNumber(tag);
  put_TagType(kTagString);
  put_TagValueStr(value);
  Check(FNSendTag());
}

void TDriver::SendTagStrOperation(int tag, const std::string& value) {
  TLock lock = Lock();
  put_TagNumber(tag);
  put_TagType(kTagString);
  put_TagValueStr(value);
  Check(FNSendTagOperation());
}

void TDriver::SendTagUnixTime(int tag, double value) {
  TLock lock = Lock();
  put_TagNumber(tag);
  put_TagType(kTagUnixTime);
  put_TagValueDateTime(value);
  Check(FNSendTag());
}

void TDriver::SendTagUnixTimeOperation(int tag, double value) {
  TLock lock = Lock();
  put_TagNumber(tag);
  put_TagType(kTagUnixTime);
  put_TagValueDateTime(value);
  Check(FNSendTagOperation());
}

void TDriver::BeginSTLVTag(int tag) {
  TLock lock = Lock();
  put_TagNumber(tag);
  Check(FNBeginSTLVTag());
}

void TDriver::SendSTLVTag(int tag) {
  TLock lock = Lock();
  put_TagNumber(tag);
  Check(FNSendSTLVTag());
}

void TDriver::SendSTLVTagOperation(int tag) {
  TLock lock = Lock();
  put_TagNumber(tag);
  Check(FNSendSTLVTagOperation());
}

// ---- printing

int TDriver::GetPrintStringWidth(int font) {
  TLock lock = Lock();
  const std::int64_t saved = get_Password();
  struct TRestore {
    TDriver& D;
    std::int64_t Password;
    ~TRestore() { D.put_Password(Password); }
  } restore{*this, saved};
  put_Password(get_SysAdminPassword());
  put_FontType(font);
  Check(GetFontMetrics());
  return PrintStringWidth(static_cast<int>(get_PrintWidth()), static_cast<int>(get_CharWidth()));
}

void TDriver::PrintText(const std::string& text, int font) {
  TLock lock = Lock();
  if (font == 0) {
    put_StringForPrinting(text);
    Check(PrintStringWithWrap());
    return;
  }
  for (const std::string& piece : SplitPrintPieces(text, GetPrintStringWidth(font))) {
    put_StringForPrinting(piece);
    Check(CallWhilePrinterBusy([&] {
      put_FontType(font);
      return PrintStringWithFont();
    }));
  }
}

// ---- raw commands

int TDriver::SendCommand(const Bytes& command) {
  TLock lock = Lock();
  put_BinaryConversion(1);
  put_TransferBytes(BytesToHex(command));
  return ExchangeBytes();
}

int TDriver::SendCommand(const Bytes& command, Bytes& response) {
  TLock lock = Lock();
  const int result = SendCommand(command);
  response = HexToBytes(get_TransferBytes());
  return result;
}

// ---- the instance

namespace {
// A program may end with the instance still held (and its port open). The
// holder above was set up before main, so left to itself it would be
// destroyed after the driver's own tables, made on first use later. An exit
// handler registered once the first instance exists runs before their
// destruction and frees it while everything it uses is still there.
void FreeDriverAtExit() { FreeDriver(); }
}  // namespace

std::shared_ptr<TDriver> DriverShared() {
  static std::once_flag exitHandler;
  std::lock_guard lock(gMutex);
  if (!gDriver) {
    try {
      gDriver = std::make_shared<TDriver>();
    } catch (const std::exception& e) {
      throw std::runtime_error(Tr("Ошибка создания объекта драйвера: ") + e.what());
    }
    std::call_once(exitHandler, [] { std::atexit(&FreeDriverAtExit); });
  }
  return gDriver;
}

TDriver& Driver() { return *DriverShared(); }

bool DriverExists() {
  std::lock_guard lock(gMutex);
  return gDriver != nullptr;
}

void FreeDriver() {
  std::shared_ptr<TDriver> old;
  {
    std::lock_guard lock(gMutex);
    old = std::move(gDriver);
  }
}

}  // namespace zel
