#pragma once
// The dump viewer: the bytes in rows of 16 under their offsets, saving them
// to a file and comparing them with a reference file.
#include <QDialog>
#include <QString>

#include "common/Bytes.h"

class QTableWidget;

namespace zel {

struct TDumpDevice {
  int Code = 0;
  QString Description;
};

class TfmDump : public QDialog {
 public:
  TfmDump(QWidget* owner, Bytes data, TDumpDevice device);
  QTableWidget* Grid() const { return FGrid; }

 private:
  void Save();
  void Compare();

  Bytes FData;
  QTableWidget* FGrid;
};

// Rows of 16 bytes, at least one; column 0 holds the offset in six hex digits.
void FillDumpGrid(QTableWidget* grid, const Bytes& data);
// Modal.
void ShowDumpDlg(QWidget* owner, const Bytes& data, const TDumpDevice& device);
// Writes the bytes as they are, replacing the file; raises an error on failure.
void WriteDumpFile(const QString& fileName, const Bytes& data);

}  // namespace zel
