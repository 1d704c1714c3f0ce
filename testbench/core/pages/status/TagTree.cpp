#include "testbench/core/pages/status/TagTree.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <stdexcept>

#include "driver/Zelvox.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
constexpr int kNodeRole = Qt::UserRole;
const char* const kKindNames[] = {"STLV", "VLN", "Byte", "Text"};
constexpr int kMaxText = 255;

struct TStoredNode {
  TTagNode Node;
};

TTagNode NodeOf(const QTreeWidgetItem* item) {
  TTagNode n;
  const QVariantList v = item->data(0, kNodeRole).toList();
  n.Number = v.value(0).toLongLong();
  n.Kind = static_cast<TTagKind>(v.value(1).toInt());
  n.Value = v.value(2).toLongLong();
  n.Text = v.value(3).toString();
  return n;
}

void Store(QTreeWidgetItem* item, const TTagNode& n) {
  item->setData(0, kNodeRole, QVariantList{QVariant::fromValue<qlonglong>(n.Number), static_cast<int>(n.Kind),
                                          QVariant::fromValue<qlonglong>(n.Value), n.Text});
  const QString kind = kKindNames[static_cast<int>(n.Kind)];
  if (n.Kind == TTagKind::STLV)
    item->setText(0, QString("%1 [%2]").arg(n.Number).arg(kind));
  else
    item->setText(0, QString("%1 [%2]: %3").arg(n.Number).arg(kind).arg(n.Kind == TTagKind::Text ? n.Text
                                                                                                  : QString::number(n.Value)));
}

// Depth first, children in order; stops at the first refusal.
int SendNode(TZelvox& d, const QTreeWidgetItem* item, std::int64_t parent) {
  const TTagNode n = NodeOf(item);
  d.put_TagID(parent);
  d.put_TagNumber(n.Number);
  switch (n.Kind) {
    case TTagKind::STLV: {
      if (int rc = d.FNBeginSTLVTag(); rc != 0) return rc;
      const std::int64_t id = d.get_TagID();
      for (int i = 0; i < item->childCount(); ++i)
        if (int rc = SendNode(d, item->child(i), id); rc != 0) return rc;
      return 0;
    }
    case TTagKind::VLN:
      d.put_TagType(3);
      d.put_TagValueVLN(std::to_string(n.Value));
      d.put_TagValueLength(6);
      break;
    case TTagKind::Byte:
      d.put_TagType(0);
      d.put_TagValueInt(n.Value);
      break;
    case TTagKind::Text:
      d.put_TagType(7);
      d.put_TagValueStr(n.Text.toStdString());
      break;
  }
  return d.FNAddTag();
}
}  // namespace

TTagSettingForm::TTagSettingForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TagSettingForm");
  setWindowTitle(QTr("Тег"));
  auto* form = new QFormLayout(this);
  FNumber = new QLineEdit(this);
  FNumber->setObjectName("edtNumber");
  FNumber->setMaxLength(8);
  FNumber->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), FNumber));
  FKind = new QComboBox(this);
  FKind->setObjectName("cbType");
  for (const char* k : kKindNames) FKind->addItem(k);
  FValue = new QLineEdit(this);
  FValue->setObjectName("edtValue");
  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("btnOk");
  form->addRow(QTr("Номер"), FNumber);
  form->addRow(QTr("Тип"), FKind);
  form->addRow(QTr("Значение"), FValue);
  form->addRow(ok);
  connect(FKind, &QComboBox::currentIndexChanged, this, [this] { KindChanged(); });
  connect(ok, &QPushButton::clicked, this, [this] {
    if (Validate()) accept();
  });
  KindChanged();
}

void TTagSettingForm::KindChanged() {
  const auto kind = static_cast<TTagKind>(FKind->currentIndex());
  FValue->setEnabled(kind != TTagKind::STLV);
  if (kind == TTagKind::VLN || kind == TTagKind::Byte)
    FValue->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), FValue));
  else
    FValue->setValidator(nullptr);
}

TTagNode TTagSettingForm::Node() const {
  TTagNode n;
  bool ok = false;
  n.Number = FNumber->text().toLongLong(&ok);
  if (!ok) throw std::runtime_error(Tr("Некорректное значение в поле") + " \"" + Tr("Номер") + "\"");
  n.Kind = static_cast<TTagKind>(FKind->currentIndex());
  if (n.Kind == TTagKind::VLN || n.Kind == TTagKind::Byte) {
    n.Value = FValue->text().toLongLong(&ok);
    if (!ok) throw std::runtime_error(Tr("Некорректное значение в поле") + " \"" + Tr("Значение") + "\"");
  } else if (n.Kind == TTagKind::Text) {
    n.Text = FValue->text();
  }
  return n;
}

bool TTagSettingForm::Validate() {
  const auto kind = static_cast<TTagKind>(FKind->currentIndex());
  const bool bad = (kind == TTagKind::Byte && FValue->text().toLongLong() >= 256) ||
                   (kind == TTagKind::Text && FValue->text().size() > kMaxText);
  if (bad) dialogs::Message(this, windowTitle(), "Invalib value", dialogs::TIcon::Critical);
  return !bad;
}

QString AddTagNode(QTreeWidget* tree, const TTagNode& node) {
  if (tree->topLevelItemCount() == 0) {
    if (node.Kind != TTagKind::STLV) return "Only STLV tag is root.";
    auto* root = new QTreeWidgetItem(tree);
    Store(root, node);
    tree->setCurrentItem(root);
    return {};
  }
  QTreeWidgetItem* parent = tree->currentItem();
  if (!parent) return "Need select item.";
  if (NodeOf(parent).Kind != TTagKind::STLV) return "Only STVL tag may be is parent.";
  Store(new QTreeWidgetItem(parent), node);
  tree->expandAll();
  return {};
}

int SendTagTree(TZelvox& d, QTreeWidget* tree) {
  if (tree->topLevelItemCount() == 0) return -1;
  const QTreeWidgetItem* root = tree->topLevelItem(0);
  if (int rc = SendNode(d, root, 0); rc != 0) return rc;
  d.put_TagNumber(NodeOf(root).Number);
  return d.FNSendSTLVTag();
}

}  // namespace zel
