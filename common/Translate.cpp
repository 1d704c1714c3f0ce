#include "common/Translate.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <mutex>

extern "C" int _nl_msg_cat_cntr;  // glibc: bumping it invalidates cached translations

namespace zel {

namespace {
std::mutex gMutex;
std::string gDomain = "Zelserv";
bool gBound = false;

// ZEL_LOCALE_DIR wins (tests), then the build tree, then the install prefix.
std::string CatalogueDir() {
  if (const char* dir = std::getenv("ZEL_LOCALE_DIR"); dir && *dir) return dir;
  std::error_code ec;
  if (std::filesystem::is_directory(ZEL_LOCALE_BUILD_DIR, ec)) return ZEL_LOCALE_BUILD_DIR;
  return ZEL_LOCALE_INSTALL_DIR;
}

void BindLocked(const std::string& domain) {
  bindtextdomain(domain.c_str(), CatalogueDir().c_str());
  bind_textdomain_codeset(domain.c_str(), "UTF-8");
}
}  // namespace

void SetTextDomain(const std::string& domain) {
  std::lock_guard lock(gMutex);
  gDomain = domain;
  BindLocked(domain);
  gBound = true;
}

std::string TextDomain() {
  std::lock_guard lock(gMutex);
  return gDomain;
}

void SetLanguage(const std::string& language) {
  std::lock_guard lock(gMutex);
  // gettext ignores LANGUAGE under the plain "C" locale, so make sure a real one
  // is set. Only LC_MESSAGES: the other categories (numbers above all) stay "C"
  // so that no number written to a file or a peer changes its form.
  const char* current = std::setlocale(LC_MESSAGES, "");
  if (!current || std::string(current) == "C" || std::string(current) == "POSIX")
    std::setlocale(LC_MESSAGES, "C.UTF-8");
  if (language.empty())
    unsetenv("LANGUAGE");
  else
    setenv("LANGUAGE", language.c_str(), 1);
  ++_nl_msg_cat_cntr;  // drop gettext's cached lookups
}

std::string Tr(const char* msgid) {
  std::string domain;
  {
    std::lock_guard lock(gMutex);
    if (!gBound) {
      BindLocked(gDomain);
      gBound = true;
    }
    domain = gDomain;
  }
  return dgettext(domain.c_str(), msgid);
}

}  // namespace zel
