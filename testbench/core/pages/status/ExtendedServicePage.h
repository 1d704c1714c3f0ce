#pragma once
// "Расширенное": service table switches, raw service commands, a long-data
// exchange and an STLV tag tree sent to the fiscal storage.
#include <cstdint>

#include "testbench/core/Pages.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

namespace zel {

struct TTagNode;

class TfmExtendedService : public TPage {
 public:
  TfmExtendedService();

  QTreeWidget* Tree() const { return FTree; }
  // Adds a node as the tag dialog would; shows the refusal in a message box.
  void AddNode(const TTagNode& node);
  void SendTree();

 private:
  void SetServiceTableValue(int field, std::int64_t value);
  void Service(std::uint8_t subCode, std::uint32_t parameter);
  void BoardVersion();
  void OSUSupport();
  void SendLongData();
  void AddTag();

  QComboBox* FLogging;
  QLineEdit* FVersion;
  QLineEdit* FOSU;
  QPlainTextEdit* FLongIn;
  QPlainTextEdit* FLongOut;
  QTreeWidget* FTree;
};

}  // namespace zel
