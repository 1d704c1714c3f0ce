#include "testbench/core/pages/link/HostNamePrompt.h"

#include <QInputDialog>
#include <QSettings>

#include "testbench/core/MainWindow.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
constexpr int kHistorySize = 20;
const char* const kHistoryKey = "Tests/Zelvox/A4/HostNames";
}  // namespace

QStringList HostNameHistory() {
  return QSettings(TfmMain::ParamsFile(), QSettings::IniFormat).value(kHistoryKey).toStringList();
}

void RememberHostName(const QString& name) {
  const QString trimmed = name.trimmed();
  if (trimmed.isEmpty()) return;
  QStringList names = HostNameHistory();
  names.removeAll(trimmed);
  names.prepend(trimmed);
  while (names.size() > kHistorySize) names.removeLast();
  QSettings(TfmMain::ParamsFile(), QSettings::IniFormat).setValue(kHistoryKey, names);
}

QString AskHostName(QWidget* parent, const QString& current) {
  QStringList names = HostNameHistory();
  if (!current.trimmed().isEmpty()) {
    names.removeAll(current.trimmed());
    names.prepend(current.trimmed());
  }
  bool ok = false;
  const QString name = QInputDialog::getItem(parent, QTr("Укажите имя компьютера"), QTr("Имя компьютера:"),
                                             names, 0, true, &ok)
                           .trimmed();
  if (!ok || name.isEmpty()) return {};
  RememberHostName(name);
  return name;
}

}  // namespace zel
