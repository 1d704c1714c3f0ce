#pragma once
// The STLV tag tree of "Расширенное": the node data, the tag dialog and the
// rules for adding nodes and sending the tree to the fiscal storage.
#include <QDialog>
#include <QString>
#include <cstdint>

class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace zel {

class TZelvox;

enum class TTagKind { STLV = 0, VLN = 1, Byte = 2, Text = 3 };

struct TTagNode {
  std::int64_t Number = 0;
  TTagKind Kind = TTagKind::STLV;
  std::int64_t Value = 0;
  QString Text;
};

// "Тег": number, kind and value of one node.
class TTagSettingForm : public QDialog {
 public:
  explicit TTagSettingForm(QWidget* parent = nullptr);
  // What the fields hold; a number that is not an integer raises an error.
  TTagNode Node() const;
  // Refuses (message box, dialog stays open) a Byte value of 256 or more and
  // a text longer than 255 characters.
  bool Validate();

  QLineEdit* NumberEdit() const { return FNumber; }
  QComboBox* KindBox() const { return FKind; }
  QLineEdit* ValueEdit() const { return FValue; }

 private:
  void KindChanged();

  QLineEdit* FNumber;
  QComboBox* FKind;
  QLineEdit* FValue;
};

// Adds a node under the selected one; the error text, or empty when added.
QString AddTagNode(QTreeWidget* tree, const TTagNode& node);
// Sends the tree through the driver: each structure and tag in order, the
// first refused call ends the sending (a partial structure never goes out),
// then the root structure. Returns the first non-zero result code, or 0.
// An empty tree gives -1 without a driver call.
int SendTagTree(TZelvox& driver, QTreeWidget* tree);

}  // namespace zel
