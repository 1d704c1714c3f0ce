#pragma once
// The interface language, kept in "locale.ini" (section Locale, key Lang,
// "RU" or "EN") in the per-user data folder Veltrona/Zelvox.
#include <QString>

namespace zel {

QString LocaleIniPath();
// "EN" or "RU" (a missing file or any other value); read once per run.
QString ChosenLanguage();
// Creates the folders when missing; the choice applies at the next start.
void WriteLanguage(const QString& lang);
// Binds the "ZelvoxTst" catalogue and selects the chosen language.
void ApplyLanguage();

}  // namespace zel
