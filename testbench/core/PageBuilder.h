#pragma once
// Declares a page's controls in a few lines. Each control gets its component
// name as objectName, and a driver-bound control the driver property name as
// its tool tip, which is what saving and the driver binding go by:
//
//   TPageBuilder b(this);
//   b.Group("grpStatus", QTr("Состояние"));
//   b.Edit("edtTimeout", QTr("Таймаут:"), "Timeout");
//   b.Row();
//   b.MethodButton("btnBeep", QTr("Гудок"), "Beep");
//   b.End();
//   b.End();
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace zel {

class TPage;
class TRadioGroup;

class TPageBuilder {
 public:
  explicit TPageBuilder(TPage* page);

  // A titled, named box; what follows goes into it until End().
  TPageBuilder& Group(const char* name, const QString& caption);
  // Controls side by side until End().
  TPageBuilder& Row();
  TPageBuilder& End();
  // Pushes what follows to the top (in a row: to the left).
  TPageBuilder& Stretch();

  QLineEdit* Edit(const char* name, const QString& label, const char* property = nullptr,
                  const QString& text = {});
  // A read-only field; with a property it shows the driver's value after a call.
  QLineEdit* Output(const char* name, const QString& label, const char* property = nullptr);
  QSpinBox* Spin(const char* name, const QString& label, int min, int max, int value,
                 const char* property = nullptr);
  QComboBox* Combo(const char* name, const QString& label, const QStringList& items,
                   const char* property = nullptr);
  QCheckBox* CheckBox(const char* name, const QString& caption, const char* property = nullptr);
  TRadioGroup* Radio(const char* name, const QString& caption, const QStringList& items,
                     const char* property = nullptr);
  // A memo in a fixed-pitch font without word wrap, taking the free height.
  QPlainTextEdit* Memo(const char* name, bool readOnly = true);
  // A button whose handler runs through TPage::Run.
  QPushButton* Button(const char* name, const QString& caption, std::function<void()> handler);
  // Writes the bound inputs, calls the driver method, checks its result and
  // shows the bound outputs.
  QPushButton* MethodButton(const char* name, const QString& caption, const char* method);

 private:
  struct TLevel {
    QGridLayout* Grid = nullptr;
    QHBoxLayout* Line = nullptr;
  };
  void Place(QWidget* w, const QString& label, bool stretch = false);
  static void Bind(QWidget* w, const char* name, const char* property);

  TPage* FPage;
  std::vector<TLevel> FStack;
};

}  // namespace zel
