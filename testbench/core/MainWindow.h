#pragma once
// The main window: the list of groups, the shown group, the result line of
// the last driver call, the password field and the menus.
#include <QElapsedTimer>
#include <QMainWindow>
#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;
class QActionGroup;

namespace zel {

class TPage;
class TPages;
class TPasswordEdit;
class TfmTabbedPage;

class TfmMain : public QMainWindow {
 public:
  explicit TfmMain(QWidget* parent = nullptr);
  ~TfmMain() override;

  TPages& Pages() const { return *FPages; }
  TfmTabbedPage* ShownGroup() const { return FPage; }
  int GroupCount() const;
  TfmTabbedPage* Group(int index) const;
  QListWidget* GroupList() const { return FList; }
  TPasswordEdit* PasswordField() const { return FPassword; }

  void ShowPage(TfmTabbedPage* group);
  void UpdateCaption();
  // The result line: false when a driver call starts, true when it ended.
  void PagesChanged(bool value);

  // Where the control values live; ParamsGroup is the key path inside.
  static QString ParamsFile();
  static const char* const ParamsGroup;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildWindow();
  void BuildMenus();
  void CreatePages();
  void InitializePages();
  void LoadParams();
  void SaveParams();
  void UpdateLanguage();
  void UpdateListWidth();
  void PasswordChanged();
  void ShowPassword();
  void ShowProperties(bool refresh);
  void ChooseLanguage(const QString& lang);
  void ShowAbout();
  void WriteToDevelopers();

  std::unique_ptr<TPages> FPages;
  TfmTabbedPage* FPage = nullptr;
  QElapsedTimer FStarted;

  QListWidget* FList = nullptr;
  QWidget* FSite = nullptr;
  QLineEdit* FResult = nullptr;
  QLineEdit* FTxData = nullptr;
  QLineEdit* FRxData = nullptr;
  QLineEdit* FTime = nullptr;
  QLineEdit* FOperator = nullptr;
  TPasswordEdit* FPassword = nullptr;
  QActionGroup* FLanguages = nullptr;
};

}  // namespace zel
