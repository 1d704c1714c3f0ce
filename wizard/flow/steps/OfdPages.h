#pragma once
// The OFD data step: the OFD and marking-server fields, filled from the record or
// the register, with templates to load and save.
#include <string>
#include <vector>

#include "wizard/flow/core/OFDParams.h"
#include "wizard/flow/ui/ParamPage.h"

class QComboBox;
class QLineEdit;

namespace zel {

class TfmOFDParams : public TParamPage {
  Q_OBJECT
 public:
  TfmOFDParams();
  void Next() override;

 protected:
  void Enter() override;

 private:
  void FillTemplateList();
  void TemplateChosen(int index);
  void OpenTemplate();
  void SaveTemplateAs();
  TOFDFields Fields() const;
  void ShowFields(const TOFDFields& f);

  QLineEdit* edtOFDServer;
  QLineEdit* edtOFDPort;
  QLineEdit* edtOFDName;
  QLineEdit* edtOFDUrl;
  QLineEdit* edtINNOFD;
  QLineEdit* edtTaxOfficeURL;
  QLineEdit* edtServerKM;
  QLineEdit* edtPortKM;
  QLineEdit* edtSenderEmail;
  QComboBox* cbTemplate;
  TOFDFields FDefFields;                // the values shown on entry
  std::vector<std::string> FFileList;  // template paths, in list order after the placeholder
  // The record's FFD, or the register's in the OFD link set-up flow where none is chosen.
  int FFFD = 0;
};

}  // namespace zel
