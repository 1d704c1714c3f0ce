#include "testbench/core/pages/tables/TablePage.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
QString Text(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

TfmTable::TfmTable() {
  TPageBuilder b(this);
  b.Group("grpField", QTr("Поле таблицы"));
  FTable = b.Spin("seTableNumber", QTr("Таблица:"), 1, 255, 1);
  FRow = b.Spin("seRowNumber", QTr("Ряд:"), 1, 65535, 1);
  FField = b.Spin("seFieldNumber", QTr("Поле:"), 1, 255, 1);
  FValue = b.Edit("edtValue", QTr("Значение:"));
  b.Row();
  b.Button("btnGetTableStruct", QTr("Получить структуру таблицы"), [this] { TableStruct(); });
  b.Button("btnGetFieldStruct", QTr("Получить структуру поля"), [this] { FieldStruct(); });
  b.Button("btnReadTable", QTr("Прочитать таблицу"), [this] { Read(); });
  b.Button("btnWriteTable", QTr("Записать таблицу"), [this] { Write(); });
  b.End();
  b.Row();
  b.Button("btnInitTable", QTr("Инициализировать таблицы"), [this] { InitTables(); });
  b.Button("btnShowTablesDlg", QTr("Редактирование таблиц..."), [this] { ShowTables(); });
  b.Stretch();
  b.End();
  b.End();
  b.Group("grpFile", QTr("Файл таблиц"));
  FFileName = b.Edit("edtFileName", QTr("Файл:"), nullptr, "tables.csv");
  b.Row();
  b.Button("btnFileName", "...", [this] { ChooseFile(); });
  b.Button("btnExportTables", QTr("Сохранить таблицы в файл"), [this] { Export(); });
  b.Button("btnImportTables", QTr("Загрузить таблицы из файла"), [this] { Import(); });
  b.Stretch();
  b.End();
  b.End();
  FMemo = b.Memo("Memo");
}

void TfmTable::SetAddress(bool row) {
  TDriver& d = Driver();
  d.put_TableNumber(FTable->value());
  d.put_FieldNumber(FField->value());
  if (row) d.put_RowNumber(FRow->value());
}

// After a write the name and size lines are indented under "Структура поля:".
void TfmTable::AddFieldLines(const QString& indent) {
  const TDriver& d = Driver();
  FMemo->appendPlainText(indent + QTr("Название поля") + ": " + Text(d.get_FieldName()));
  const bool number = d.get_FieldType() == 0;
  FMemo->appendPlainText(number ? QTr("Тип поля: число") : QTr("Тип поля: строка"));
  FMemo->appendPlainText(indent + QTr("Размер поля") + ": " + QString::number(d.get_FieldSize()));
  if (number) {
    // Unsigned, as the device keeps them.
    FMemo->appendPlainText(QTr("Мин. значение") + ": " +
                           QString::number(static_cast<std::uint32_t>(d.get_MINValueOfField())));
    FMemo->appendPlainText(QTr("Макс. значение") + ": " +
                           QString::number(static_cast<std::uint32_t>(d.get_MAXValueOfField())));
  }
}

void TfmTable::ShowValue() {
  const TDriver& d = Driver();
  FValue->setText(d.get_FieldType() != 0 ? Text(d.get_ValueOfFieldString())
                                         : QString::number(d.get_ValueOfFieldInteger()));
}

void TfmTable::TableStruct() {
  FMemo->clear();
  TDriver& d = Driver();
  d.put_TableNumber(FTable->value());
  Check(d.GetTableStruct());
  FMemo->appendPlainText(QTr("Название таблицы") + ": " + Text(d.get_TableName()));
  FMemo->appendPlainText(QTr("Количество рядов: ") + ": " + QString::number(d.get_RowNumber()));
  FMemo->appendPlainText(QTr("Количество полей") + ": " + QString::number(d.get_FieldNumber()));
}

void TfmTable::FieldStruct() {
  FMemo->clear();
  SetAddress(false);
  Check(Driver().GetFieldStruct());
  AddFieldLines({});
}

void TfmTable::Read() {
  FMemo->clear();
  SetAddress(true);
  Check(Driver().ReadTable());
  AddFieldLines({});
  ShowValue();
}

void TfmTable::Write() {
  FMemo->clear();
  SetAddress(true);
  TDriver& d = Driver();
  d.put_ValueOfFieldString(FValue->text().toStdString());
  Check(d.WriteTable());
  FMemo->appendPlainText(QTr("Структура поля") + ":");
  AddFieldLines("    ");
  ShowValue();
}

void TfmTable::InitTables() {
  FMemo->clear();
  if (dialogs::Message(this, QTr("Инициализировать таблицы"), QTr("Вы уверены?"), dialogs::TIcon::Warning,
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  Check(Driver().InitTable());
}

void TfmTable::ShowTables() {
  TDriver& d = Driver();
  d.put_ParentWnd(static_cast<std::int64_t>(winId()));
  Check(d.ShowTablesDlg());
}

void TfmTable::ChooseFile() {
  QString name = dialogs::SaveFileName(this, QTr("Файл таблиц"), "CSV (*.csv);;*.* (*)");
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += ".csv";
  FFileName->setText(name);
}

void TfmTable::Export() {
  FMemo->clear();
  TDriver& d = Driver();
  d.put_FileName(FFileName->text().toStdString());
  Check(d.ExportTables());
}

void TfmTable::Import() {
  FMemo->clear();
  TDriver& d = Driver();
  d.put_FileName(FFileName->text().toStdString());
  Check(d.ImportTables());
}

}  // namespace zel
