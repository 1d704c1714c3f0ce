#include "driver/dialogs/TablesDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Translate.h"
#include "driver/Zelvox.h"
#include "driver/catalogue/ErrorCodes.h"
#include "driver/dialogs/DialogTexts.h"

namespace zel {

namespace {

QString T(const char* id) { return QString::fromStdString(Tr(id)); }
QString Q(const std::string& s) { return QString::fromStdString(s); }
constexpr int kMaxTables = 255;
constexpr int kValueColumn = 5;

QTableWidgetItem* ReadOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

TTablesDialog::TTablesDialog(TZelvox& driver, QWidget* parent) : QDialog(parent), FDriver(driver) {
  setWindowTitle(T(dlg::kTablesTitle));
  resize(820, 480);
  FTables = new QListWidget;
  FTables->setObjectName("lbTables");
  FRow = new QSpinBox;
  FRow->setObjectName("edtRow");
  FRow->setToolTip("RowNumber");
  FRow->setRange(1, 1);
  FFields = new QTableWidget(0, 6);
  FFields->setObjectName("gridFields");
  FFields->setHorizontalHeaderLabels(
      {T(dlg::kField), T(dlg::kName), T(dlg::kType), T(dlg::kMin), T(dlg::kMax), T(dlg::kValue)});
  FFields->horizontalHeader()->setStretchLastSection(true);
  FFields->verticalHeader()->hide();
  auto* read = new QPushButton(T(dlg::kRead));
  read->setObjectName("btnRead");
  auto* write = new QPushButton(T(dlg::kWrite));
  write->setObjectName("btnWrite");
  FResult = new QLabel;
  FResult->setObjectName("lblResult");

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(T(dlg::kRow)));
  top->addWidget(FRow);
  top->addStretch();
  top->addWidget(read);
  top->addWidget(write);
  auto* right = new QVBoxLayout;
  right->addLayout(top);
  right->addWidget(FFields);
  right->addWidget(FResult);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(FTables, 1);
  layout->addLayout(right, 3);

  connect(FTables, &QListWidget::currentRowChanged, this, [this](int index) {
    if (index >= 0) SelectTable(FTables->item(index)->data(Qt::UserRole).toInt());
  });
  connect(FRow, &QSpinBox::valueChanged, this, [this] { ReadRow(); });
  connect(read, &QPushButton::clicked, this, [this] { ReadRow(); });
  connect(write, &QPushButton::clicked, this, [this] { WriteChanges(); });
  LoadTables();
}

bool TTablesDialog::Check(int code) {
  FResult->setText(QString("(%1) %2").arg(code).arg(Q(FDriver.get_ResultCodeDescription())));
  return code == 0;
}

QString TTablesDialog::ResultText() const { return FResult->text(); }

void TTablesDialog::LoadTables() {
  FTables->clear();
  for (int n = 1; n <= kMaxTables; ++n) {
    FDriver.put_TableNumber(n);
    const int code = FDriver.GetTableStruct();
    if (code != 0) {
      if (code != kDevNoSuchTable) Check(code);  // 93 is the normal end of the list
      break;
    }
    auto* item = new QListWidgetItem(QString("%1. %2").arg(n).arg(Q(FDriver.get_TableName())));
    item->setData(Qt::UserRole, n);
    FTables->addItem(item);
  }
  if (FTables->count() > 0) FTables->setCurrentRow(0);
}

void TTablesDialog::SelectTable(int number) {
  FDriver.put_TableNumber(number);
  if (!Check(FDriver.GetTableStruct())) return;
  const QSignalBlocker block(FRow);
  FRow->setRange(1, std::max<int>(1, static_cast<int>(FDriver.get_RowNumber())));
  FRow->setValue(1);
  FFields->setRowCount(static_cast<int>(FDriver.get_FieldNumber()));
  ReadRow();
}

void TTablesDialog::ReadRow() {
  if (!FTables->currentItem()) return;
  const int table = FTables->currentItem()->data(Qt::UserRole).toInt();
  FReadValues.assign(static_cast<std::size_t>(FFields->rowCount()), QString());
  int code = 0;
  for (int f = 0; f < FFields->rowCount(); ++f) {
    FDriver.put_TableNumber(table);
    FDriver.put_RowNumber(FRow->value());
    FDriver.put_FieldNumber(f + 1);
    if ((code = FDriver.ReadTable()) != 0) break;
    const bool text = FDriver.get_FieldType() != 0;
    const QString value = Q(FDriver.get_ValueOfFieldString());
    FFields->setItem(f, 0, ReadOnly(QString::number(f + 1)));
    FFields->setItem(f, 1, ReadOnly(Q(FDriver.get_FieldName())));
    FFields->setItem(f, 2, ReadOnly(QString("%1 %2").arg(T(text ? dlg::kText : dlg::kNumber)).arg(FDriver.get_FieldSize())));
    FFields->setItem(f, 3, ReadOnly(text ? QString() : QString::number(static_cast<std::uint32_t>(FDriver.get_MINValueOfField()))));
    FFields->setItem(f, 4, ReadOnly(text ? QString() : QString::number(static_cast<std::uint32_t>(FDriver.get_MAXValueOfField()))));
    FFields->setItem(f, kValueColumn, new QTableWidgetItem(value));
    FReadValues[static_cast<std::size_t>(f)] = value;
  }
  Check(code);
}

void TTablesDialog::WriteChanges() {
  if (!FTables->currentItem()) return;
  const int table = FTables->currentItem()->data(Qt::UserRole).toInt();
  for (int f = 0; f < FFields->rowCount(); ++f) {
    const QTableWidgetItem* item = FFields->item(f, kValueColumn);
    if (!item || static_cast<std::size_t>(f) >= FReadValues.size() || item->text() == FReadValues[static_cast<std::size_t>(f)])
      continue;
    FDriver.put_TableNumber(table);
    FDriver.put_RowNumber(FRow->value());
    FDriver.put_FieldNumber(f + 1);
    FDriver.put_ValueOfFieldString(item->text().toStdString());
    if (!Check(FDriver.WriteTable())) return;  // the row stays as edited so the value can be corrected
  }
  ReadRow();
}

}  // namespace zel
