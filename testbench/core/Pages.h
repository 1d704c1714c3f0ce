#pragma once
// Page framework: TBaseForm (dialogs), TPage (every test page and every
// group), the owning page list TPages and the process-wide PageNotifier that
// tells the main window when a driver call starts and ends.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QPushButton;

namespace zel {

class TBaseForm : public QWidget {
 public:
  explicit TBaseForm(QWidget* parent = nullptr);
  // Dialog flavour: only buttons that were enabled get disabled (and marked
  // with Tag 1); only marked ones come back.
  virtual void EnableButtons(bool value);

 protected:
  // Depth first, children before the control itself.
  static void ForEachButton(QWidget* root, const std::function<void(QPushButton*)>& fn);
  QPointer<QPushButton> FFocusedButton;
};

class TPages;

class TPage : public TBaseForm {
 public:
  explicit TPage(QWidget* parent = nullptr);
  ~TPage() override;

  // Every button off (the focused one remembered) or every button on.
  void EnableButtons(bool value) override;
  virtual void Initialize() {}
  virtual void UpdatePage() {}
  virtual void UpdateObject() {}
  virtual int LoadDefaults() { return 0; }

  // Silent abort when resultCode is not 0.
  static void Check(int resultCode);
  void SetOwner(TPages* list);
  TPages* Owner() const { return FOwner; }
  int GetIndex() const;

  // The handler of a button that calls the driver: buttons off, the action,
  // buttons on in every case; a silent abort ends it quietly, any other
  // failure is shown in a message box once the buttons are back.
  void Run(const std::function<void()>& action);
  bool Running() const { return FRunning; }

  // Driver binding: controls whose tool tip names a driver property.
  // Writes every enabled input control's value to its property; a value the
  // property cannot take raises an error naming the field.
  void WriteBoundProperties();
  // Shows each bound read-only field's property value.
  void ReadBoundProperties();

 private:
  TPages* FOwner = nullptr;
  bool FRunning = false;
};

// Ordered list of pages that owns them; a destroyed page leaves its list.
class TPages {
 public:
  TPages() = default;
  ~TPages();
  TPages(const TPages&) = delete;
  TPages& operator=(const TPages&) = delete;

  int Count() const { return static_cast<int>(FList.size()); }
  TPage* Items(int i) const { return FList.at(static_cast<std::size_t>(i)); }
  int GetItemIndex(const TPage* page) const;
  void InsertItem(TPage* page);
  void RemoveItem(TPage* page);
  bool ValidIndex(int i) const { return i >= 0 && i < Count(); }
  void Clear();
  // First page of class T (or a descendant); nullptr when there is none.
  template <class T>
  T* PageByClass() const {
    for (TPage* p : FList)
      if (auto* t = dynamic_cast<T*>(p)) return t;
    return nullptr;
  }

 private:
  std::vector<TPage*> FList;
};

class TPageNotifier {
 public:
  std::function<void(bool)> OnChange;
  void DoChange(bool value) {
    if (OnChange) OnChange(value);
  }
};

TPageNotifier& PageNotifier();

// Dynamic property of a control outside the pages that calls the driver (the
// main window's properties button and menu item): a running loop disables it
// along with the other pages.
inline constexpr char kDriverControl[] = "DriverControl";

// Runs fn outside any button handler (start-up, group and tab changes): a
// silent abort ends it quietly, any other failure is shown in a message box.
void RunGuarded(QWidget* parent, const std::function<void()>& fn);

}  // namespace zel
