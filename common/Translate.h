#pragma once
// Message catalogues: Russian texts are the message ids; each program binds
// its own domain ("Zelserv", "ZelvoxTst", "Tamarex") and may pick a language.
#include <string>

namespace zel {

// Binds `domain` to the catalogue folder and makes it the domain Tr() uses.
void SetTextDomain(const std::string& domain);
// The current domain ("Zelserv" until a program sets another).
std::string TextDomain();
// Chooses the interface language ("en", "ru", or "" for the environment's).
void SetLanguage(const std::string& language);
// Translation of msgid in the current domain (msgid itself when none).
std::string Tr(const char* msgid);
inline std::string Tr(const std::string& msgid) { return Tr(msgid.c_str()); }

}  // namespace zel
