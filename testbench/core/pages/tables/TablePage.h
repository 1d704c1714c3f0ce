#pragma once
// "Таблицы": single fields of the device's settings tables, their structure,
// table initialisation and all tables to and from a CSV file.
#include "testbench/core/Pages.h"

class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace zel {

class TfmTable : public TPage {
 public:
  TfmTable();

 private:
  void TableStruct();
  void FieldStruct();
  void Read();
  void Write();
  void InitTables();
  void ShowTables();
  void ChooseFile();
  void Export();
  void Import();
  void SetAddress(bool row);
  void AddFieldLines(const QString& indent);
  void ShowValue();

  QSpinBox* FTable;
  QSpinBox* FRow;
  QSpinBox* FField;
  QLineEdit* FValue;
  QLineEdit* FFileName;
  QPlainTextEdit* FMemo;
};

}  // namespace zel
