#pragma once
// TTablesDialog: the device tables: the list of tables, a row, and each
// field with its name, type, limits and value; edited values are written back.
#include <QDialog>

class QLabel;
class QListWidget;
class QSpinBox;
class QTableWidget;

namespace zel {

class TZelvox;

class TTablesDialog : public QDialog {
 public:
  TTablesDialog(TZelvox& driver, QWidget* parent = nullptr);

  void LoadTables();            // walks the tables from 1 until the device says 93
  void SelectTable(int number);
  void ReadRow();               // every field of the current table and row
  void WriteChanges();          // the values edited since the last read
  QString ResultText() const;

 private:
  bool Check(int code);  // shows "(code) text"; true for 0

  TZelvox& FDriver;
  QListWidget* FTables;
  QSpinBox* FRow;
  QTableWidget* FFields;
  QLabel* FResult;
  std::vector<QString> FReadValues;
};

}  // namespace zel
