#include "testbench/core/pages/tables/DumpViewer.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "testbench/core/Dialogs.h"
#include "testbench/core/Pages.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
constexpr int kBytesPerRow = 16;
}

void FillDumpGrid(QTableWidget* grid, const Bytes& data) {
  const int rows = std::max(1, static_cast<int>((data.size() + kBytesPerRow - 1) / kBytesPerRow));
  grid->clear();
  grid->setColumnCount(kBytesPerRow + 1);
  grid->setRowCount(rows);
  QStringList header{QString()};
  for (int c = 0; c < kBytesPerRow; ++c) header << QString::asprintf("%.2X", c);
  grid->setHorizontalHeaderLabels(header);
  grid->setColumnWidth(0, 60);
  for (int r = 0; r < rows; ++r) {
    grid->setItem(r, 0, new QTableWidgetItem(QString::asprintf("%.6X", r * kBytesPerRow)));
    for (int c = 0; c < kBytesPerRow; ++c) {
      const std::size_t i = static_cast<std::size_t>(r * kBytesPerRow + c);
      grid->setItem(r, c + 1, new QTableWidgetItem(i < data.size() ? QString::asprintf("%.2X", data[i]) : QString()));
    }
  }
}

void WriteDumpFile(const QString& fileName, const Bytes& data) {
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(reinterpret_cast<const char*>(data.data()), static_cast<qint64>(data.size())) !=
          static_cast<qint64>(data.size()) ||
      !file.flush())
    throw std::runtime_error(Tr("Не удалось записать файл") + " \"" + fileName.toStdString() + "\"");
}

TfmDump::TfmDump(QWidget* owner, Bytes data, TDumpDevice device) : QDialog(owner), FData(std::move(data)) {
  setObjectName("fmDump");
  setWindowTitle(QString::asprintf("%.2Xh ", device.Code) + device.Description);
  auto* layout = new QVBoxLayout(this);
  FGrid = new QTableWidget(this);
  FGrid->setObjectName("Grid");
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FGrid->verticalHeader()->hide();
  FillDumpGrid(FGrid, FData);
  layout->addWidget(FGrid);
  auto* buttons = new QHBoxLayout;
  auto* save = new QPushButton(QTr("Сохранить"), this);
  save->setObjectName("btnSave");
  auto* compare = new QPushButton(QTr("Сравнить с эталоном"), this);
  compare->setObjectName("btnCompare");
  buttons->addWidget(save);
  buttons->addWidget(compare);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Save(); }); });
  connect(compare, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Compare(); }); });
  resize(640, 400);
}

void TfmDump::Save() {
  const QString name = dialogs::SaveFileName(this, QTr("Сохранить"), "*.* (*)");
  if (!name.isEmpty()) WriteDumpFile(name, FData);
}

void TfmDump::Compare() {
  const QString name = dialogs::OpenFileName(this, QTr("Выбрать эталонный файл"), "*.* (*)");
  if (name.isEmpty()) return;
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error(Tr("Не удалось прочитать файл") + " \"" + name.toStdString() + "\"");
  const QByteArray reference = file.readAll();
  const bool same = reference.size() == static_cast<qsizetype>(FData.size()) &&
                    std::equal(FData.begin(), FData.end(), reinterpret_cast<const std::uint8_t*>(reference.constData()));
  dialogs::Message(this, QApplication::applicationName(),
                   same ? QTr("Прошивка совпадает с эталонной.") : QTr("Прошивка не совпадает с эталонной."));
}

void ShowDumpDlg(QWidget* owner, const Bytes& data, const TDumpDevice& device) {
  TfmDump dialog(owner, data, device);
  dialog.exec();
}

}  // namespace zel
