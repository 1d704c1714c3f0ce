#pragma once
// TPropertiesDialog: the driver's connection settings, with a connection
// check. OK keeps the values in the driver; Cancel restores what was there.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zel {

class TZelvox;

class TPropertiesDialog : public QDialog {
 public:
  TPropertiesDialog(TZelvox& driver, QWidget* parent = nullptr);

  // Puts the edited values into the driver (OK and the check do this).
  void Apply();
  // Disconnects, applies, calls GetECRStatus and shows "(code) text".
  void CheckConnection();
  QString ResultText() const;

 protected:
  void done(int result) override;

 private:
  void Load();
  void UpdateEnabled();

  TZelvox& FDriver;
  std::vector<std::pair<std::string, std::string>> FSaved;  // property values before the dialog
  QComboBox* FConnectionType;
  QComboBox* FComNumber;
  QComboBox* FBaudRate;
  QSpinBox* FTimeout;
  QComboBox* FProtocolType;
  QLineEdit* FComputerName;
  QLineEdit* FIPAddress;
  QSpinBox* FTCPPort;
  QPushButton* FCheck;
  QLabel* FResult;
};

}  // namespace zel
