#pragma once
// The driver's own windows (connection settings, table editor) live in the
// Qt part (driver/dialogs); a program that links it installs them here, and
// ShowProperties / ShowTablesDlg open them. Without them the two methods
// answer "not supported".
namespace zel {

class TZelvox;

class IDriverDialogs {
 public:
  virtual ~IDriverDialogs() = default;
  virtual int ShowProperties(TZelvox& driver) = 0;  // modal; 0 when shown
  virtual int ShowTablesDlg(TZelvox& driver) = 0;
};

void SetDriverDialogs(IDriverDialogs* dialogs);  // nullptr removes them
IDriverDialogs* DriverDialogs();

}  // namespace zel
