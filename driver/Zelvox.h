#pragma once
// TZelvox: the fiscal register driver. Set input properties, call a method,
// read output properties. Every method returns a result code (0 = success)
// and leaves it in ResultCode / ResultCodeDescription, with the bytes of the
// last exchange in ECRInput / ECROutput (hex text). The link opens on the
// first call that needs the device and stays open until Disconnect (or
// Connected := false). One instance may be used from several threads: each
// method call and each property access runs whole under the instance's lock.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "driver/MethodTable.h"
#include "driver/PropertyTable.h"
#include "driver/TagTree.h"
#include "driver/Transport.h"
#include "driver/catalogue/Commands.h"

namespace zel {

class TZelvox {
 public:
  TZelvox();
  ~TZelvox();
  TZelvox(const TZelvox&) = delete;
  TZelvox& operator=(const TZelvox&) = delete;

  // Typed accessors, one pair per property: get_Name() / put_Name(value).
#define ZEL_ACCESSOR_Int(n) \
  std::int64_t get_##n() const { return GetI(TPropId::n); } \
  void put_##n(std::int64_t v) { PutI(TPropId::n, v); }
#define ZEL_ACCESSOR_Bool(n) \
  bool get_##n() const { return GetI(TPropId::n) != 0; } \
  void put_##n(bool v) { PutI(TPropId::n, v ? 1 : 0); }
#define ZEL_ACCESSOR_Real(n) \
  double get_##n() const { return GetR(TPropId::n); } \
  void put_##n(double v) { PutR(TPropId::n, v); }
#define ZEL_ACCESSOR_Currency(n) ZEL_ACCESSOR_Real(n)
#define ZEL_ACCESSOR_Double(n) ZEL_ACCESSOR_Real(n)
#define ZEL_ACCESSOR_DateTime(n) ZEL_ACCESSOR_Real(n)
#define ZEL_ACCESSOR_String(n) \
  std::string get_##n() const { return GetS(TPropId::n); } \
  void put_##n(const std::string& v) { PutS(TPropId::n, v); }
#define ZEL_ACCESSOR_Bytes(n) ZEL_ACCESSOR_String(n)
#define ZEL_ACCESSOR_Variant(n) \
  TPropValue get_##n() const { return GetV(TPropId::n); } \
  void put_##n(std::int64_t v) { PutI(TPropId::n, v); }
#define ZEL_PROPERTY(type, name, def) ZEL_ACCESSOR_##type(name)
#include "driver/Properties.def"
#undef ZEL_PROPERTY

  // The methods, one per name of Methods.def.
#define ZEL_METHOD(name, area) \
  int name() { return Invoke(TMethodId::name); }
#include "driver/Methods.def"
#undef ZEL_METHOD

  int Invoke(TMethodId id);
  int Call(const std::string& method);  // by name (any letter case); unknown gives -13
  // A method is real when it has code of its own or a catalogue command; the
  // others answer -7 "not supported".
  static bool IsReal(TMethodId id);

  // By-name access for the CLI and the GUI binding (any letter case).
  bool GetProperty(const std::string& name, TPropValue& value) const;
  bool GetPropertyText(const std::string& name, std::string& text) const;
  // False for an unknown or read-only property, or a value its type cannot take.
  bool SetPropertyText(const std::string& name, const std::string& text);
  // Takes the value's Kind: numbers convert between the numeric types, texts
  // are parsed as by SetPropertyText.
  bool SetProperty(const std::string& name, const TPropValue& value);

  // Routes the link to a device in this process instead of ConnectionType;
  // an empty function restores the normal transports. Closes an open link.
  void SetInProcessDevice(TCallbackTransport::TDevice device);

  // Holds the instance's lock so that a caller's whole sequence of property
  // writes, calls and reads runs without another thread's calls in between.
  std::unique_lock<std::recursive_mutex> ScopedLock() const { return std::unique_lock(FLock); }

 private:
  using THandler = int (TZelvox::*)();
  struct TLogic;

  // Locked property access behind the accessors.
  std::int64_t GetI(TPropId id) const;
  double GetR(TPropId id) const;
  std::string GetS(TPropId id) const;
  TPropValue GetV(TPropId id) const;
  void PutI(TPropId id, std::int64_t v);
  void PutR(TPropId id, double v);
  void PutS(TPropId id, const std::string& v);

  // Link.
  void OpenLink();
  void CloseLink();
  Bytes Exchange(const Bytes& command);

  // One catalogue command: request fields from properties (or overrides),
  // answer fields into properties; returns the device's error byte (0 = done).
  int Run(const TCommandDef& cmd, const TFieldMap& overrides = {}, TFieldMap* answer = nullptr);
  int Run(const char* method, const TFieldMap& overrides = {}, TFieldMap* answer = nullptr);
  TFieldValue RequestValue(const TFieldDef& field) const;
  void ApplyAnswer(const TCommandDef& cmd, const TFieldMap& answer);
  void SetResult(int code, const std::string& text);

  // Methods that need logic (ZelvoxLink.cpp, ZelvoxStatus.cpp, ZelvoxTables.cpp,
  // ZelvoxPrint.cpp, ZelvoxTags.cpp).
  int DoConnect();
  int DoDisconnect();
  int DoLockPort();
  int DoFindDevice();
  int DoWaitConnection();
  int DoWaitForCheckClose();
  int DoLogicalDevice(TMethodId id);
  int DoAddLD() { return DoLogicalDevice(TMethodId::AddLD); }
  int DoDeleteLD() { return DoLogicalDevice(TMethodId::DeleteLD); }
  int DoEnumLD() { return DoLogicalDevice(TMethodId::EnumLD); }
  int DoGetActiveLD() { return DoLogicalDevice(TMethodId::GetActiveLD); }
  int DoGetCountLD() { return DoLogicalDevice(TMethodId::GetCountLD); }
  int DoGetParamLD() { return DoLogicalDevice(TMethodId::GetParamLD); }
  int DoSetActiveLD() { return DoLogicalDevice(TMethodId::SetActiveLD); }
  int DoSetParamLD() { return DoLogicalDevice(TMethodId::SetParamLD); }
  int DoUnlockPort();
  int DoPing();
  int DoExchangeBytes();
  int DoGetECRStatus();
  int DoShowProperties();
  int DoShowTablesDlg();
  int DoReadErrorDescription();
  int DoResetECR();
  int DoClearResult();
  int DoReadTable();
  int DoWriteTable();
  int DoExportTables();
  int DoImportTables();
  int DoPrintStringWithWrap();
  int DoWaitForPrinting();
  int DoFNAddTag();
  int DoFNBeginSTLVTag();
  int DoFNSendTag();
  int DoFNSendTagOperation();
  int DoFNSendSTLVTag();
  int DoFNSendSTLVTagOperation();
  int DoGetTagAsTLV();
  int DoFNSendCustomerEmail();
  int DoFNSendSenderEmail();
  int DoFNSendUserAttribute();
  int SendTlv(const char* method, const Bytes& tlv);
  int RunWhileBusy(const char* method, const TFieldMap& overrides);
  int ReadFieldStruct(std::int64_t table, std::int64_t field);
  static THandler HandlerOf(TMethodId id);

  mutable std::recursive_mutex FLock;
  TPropertyStore FProps;
  TTagTree FTags;
  std::unique_ptr<ITransport> FTransport;
  TCallbackTransport::TDevice FInProcess;
  std::string FCallText;  // result text a handler wants instead of the table's
};

}  // namespace zel
