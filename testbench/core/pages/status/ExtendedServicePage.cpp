#include "testbench/core/pages/status/ExtendedServicePage.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/status/RawCommand.h"
#include "testbench/core/pages/status/TagTree.h"
#include "testbench/core/util/BinUtils.h"
#include "testbench/fiscal/tables/FNCodeTables.h"

namespace zel {

namespace {
constexpr int kServiceTable = 10;

struct TSwitch {
  const char* Name;
  const char* Caption;
  int Field;
  int Value;
};
const TSwitch kSwitches[] = {
    {"btnSensorLow", "Понизить чувств. датчика чековой ленты", 11, 50},
    {"btnSensorDefault", "Вернуть значение чувств. датчика чеков. ленты", 11, 130},
    {"btnFNBugOn", "Включить обход бага ФН 996044050x", 14, 1},
    {"btnFNBugOff", "Выключить обход бага ФН", 14, 0},
    {"btnFNTimeout2", "Установить таймаут ФН 2 сек", 10, 2},
    {"btnFNTimeout30", "Установить таймаут ФН 30 сек", 10, 30},
    {"btnNarrowTape", "Включить узкую ленту", 7, 1},
    {"btnWideTape", "Включить широкую ленту", 7, 0},
};

struct TServiceButton {
  const char* Name;
  const char* Caption;
  std::uint8_t SubCode;
  std::uint32_t Parameter;
};
const TServiceButton kServiceButtons[] = {
    {"btnDFU", "Перейти в режим DFU", 0xED, 0},
    {"btnFormatSD", "Отформатировать карту SD", 0x04, 0},
    {"btnLastDocDate", "Установить дату последнего ФД", 0xE2, kServiceAccessCode},
    {"btnEthernet100On", "Включить 100 Мбит", 0x0E, 0x0101},
    {"btnEthernet100Off", "Выключить 100 Мбит", 0x0E, 0x0001},
};
}  // namespace

TfmExtendedService::TfmExtendedService() {
  TPageBuilder b(this);
  b.Group("grpServiceTable", QTr("Сервисная таблица"));
  b.Row();
  for (int i = 0; i < 4; ++i) {
    const TSwitch& s = kSwitches[i];
    b.Button(s.Name, QTr(s.Caption), [this, s] { SetServiceTableValue(s.Field, s.Value); });
  }
  b.End();
  b.Row();
  for (int i = 4; i < 8; ++i) {
    const TSwitch& s = kSwitches[i];
    b.Button(s.Name, QTr(s.Caption), [this, s] { SetServiceTableValue(s.Field, s.Value); });
  }
  b.End();
  b.Row();
  FLogging = b.Combo("cbLogging", QTr("Логирование:"),
                     {QTr("0 - Выключено "), QTr("1 - COM порт "), QTr("2 - По сети "), QTr("3 - На SD")});
  b.Button("btnWriteLogging", QTr("Записать настройку логирования"),
           [this] { SetServiceTableValue(15, FLogging->currentIndex()); });
  b.Stretch();
  b.End();
  b.End();

  b.Group("grpServiceCommands", QTr("Сервисные команды"));
  b.Row();
  for (const TServiceButton& s : kServiceButtons)
    b.Button(s.Name, QTr(s.Caption), [this, s] { Service(s.SubCode, s.Parameter); });
  b.End();
  b.Row();
  b.Button("btnBoardVersion", QTr("Запрос версии прошивки платы"), [this] { BoardVersion(); });
  FVersion = b.Output("edtBoardVersion", {});
  b.Button("btnOSUSupport", QTr("Поддержка ФН-ом ОСУ:"), [this] { OSUSupport(); });
  FOSU = b.Output("edtOSUSupport", {});
  FOSU->setMinimumWidth(380);
  b.End();
  b.End();

  b.Group("grpLongData", QTr("Длинные данные"));
  FLongIn = b.Memo("memLongData", false);
  b.Row();
  b.Button("btnSendLongData", QTr("Отправить длинную строку"), [this] { SendLongData(); });
  b.Stretch();
  b.End();
  FLongOut = b.Memo("memLongAnswer");
  b.End();

  b.Group("grpTags", QTr("Дерево тегов"));
  b.Row();
  b.Button("btnAddTag", QTr("Добавить тег"), [this] { AddTag(); });
  b.Button("btnClearTags", QTr("Очистить"), [this] { FTree->clear(); });
  b.Button("btnSendTags", QTr("Отправить"), [this] { SendTree(); });
  b.Stretch();
  b.End();
  b.End();
  FTree = new QTreeWidget(this);
  FTree->setObjectName("tvTags");
  FTree->setHeaderHidden(true);
  FTree->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* add = new QAction(QTr("Добавить"), FTree);
  FTree->addAction(add);
  connect(add, &QAction::triggered, this, [this] { Run([this] { AddTag(); }); });
  if (layout()) layout()->addWidget(FTree);
}

// Writes table 10, row 1 with the service password 0; the page's password
// comes back afterwards in every case.
void TfmExtendedService::SetServiceTableValue(int field, std::int64_t value) {
  TDriver& d = Driver();
  const std::int64_t password = d.get_Password();
  struct TRestore {
    TDriver& D;
    std::int64_t Password;
    ~TRestore() { D.put_Password(Password); }
  } restore{d, password};
  d.put_TableNumber(kServiceTable);
  d.put_RowNumber(1);
  d.put_FieldNumber(field);
  d.put_ValueOfFieldInteger(value);
  Check(d.GetFieldStruct());
  d.put_Password(0);
  d.put_ValueOfFieldInteger(value);
  Check(d.WriteTable());
}

void TfmExtendedService::Service(std::uint8_t subCode, std::uint32_t parameter) {
  Check(SendRawCommand(Driver(), ServiceCommand(subCode, parameter)).ResultCode);
}

void TfmExtendedService::BoardVersion() {
  FVersion->clear();
  const TRawAnswer a = SendRawCommand(Driver(), ServiceCommand(0xEB, 0));
  Check(a.ResultCode);
  const Bytes p = a.Payload();
  FVersion->setText(QString::fromLatin1(reinterpret_cast<const char*>(p.data()), static_cast<qsizetype>(p.size())).trimmed());
}

void TfmExtendedService::OSUSupport() {
  FVersion->clear();
  const TRawAnswer a = SendRawCommand(Driver(), ServiceCommand(0x0F, 2));
  Check(a.ResultCode);
  const Bytes p = a.Payload();
  FOSU->setText(QString::fromStdString(OSUSupportAnswerToStr(BinToInt(p, 1, static_cast<int>(std::min<std::size_t>(p.size(), 8))))));
}

void TfmExtendedService::SendLongData() {
  TDriver& d = Driver();
  d.put_LongData(FLongIn->toPlainText().toStdString());
  if (d.SendLongData() != 0) {
    dialogs::Message(this, "Error", QString::fromStdString(d.get_ResultCodeDescription()), dialogs::TIcon::Critical);
    return;
  }
  FLongOut->setPlainText(QString::fromStdString(d.get_LongData()));
}

void TfmExtendedService::AddNode(const TTagNode& node) {
  const QString error = AddTagNode(FTree, node);
  if (!error.isEmpty()) dialogs::Message(this, QApplication::applicationName(), error, dialogs::TIcon::Critical);
}

void TfmExtendedService::AddTag() {
  TTagSettingForm form(this);
  if (form.exec() != QDialog::Accepted) return;
  AddNode(form.Node());
}

void TfmExtendedService::SendTree() {
  if (FTree->topLevelItemCount() == 0) {
    dialogs::Message(this, QApplication::applicationName(), "Tags tree is empty.", dialogs::TIcon::Critical);
    return;
  }
  Check(SendTagTree(Driver(), FTree));
}

}  // namespace zel
