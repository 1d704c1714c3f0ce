#include "testbench/core/Language.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "common/Translate.h"

namespace zel {

namespace {
QString DataFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return base + "/Veltrona/Zelvox";
}

QString ReadLanguage() {
  QDir().mkpath(DataFolder());
  QSettings ini(LocaleIniPath(), QSettings::IniFormat);
  return ini.value("Locale/Lang").toString() == "EN" ? "EN" : "RU";
}
}  // namespace

QString LocaleIniPath() { return DataFolder() + "/locale.ini"; }

QString ChosenLanguage() {
  static const QString lang = ReadLanguage();
  return lang;
}

void WriteLanguage(const QString& lang) {
  QDir().mkpath(DataFolder());
  QSettings ini(LocaleIniPath(), QSettings::IniFormat);
  ini.setValue("Locale/Lang", lang);
  ini.sync();
}

void ApplyLanguage() {
  SetTextDomain("ZelvoxTst");
  SetLanguage(ChosenLanguage() == "EN" ? "en" : "ru");
}

}  // namespace zel
