#pragma once
// The groups of the main window's list and the pages of each, in order. A
// tab is created only when its page class is built into the program.
#include <string_view>
#include <vector>

namespace zel {

class TPage;

struct TTabDef {
  const char* Caption;    // message id of the tab (and the page's title)
  const char* ClassName;  // the page's form class; its object name drops the "T"
};

struct TGroupDef {
  const char* Caption;  // message id
  std::vector<TTabDef> Tabs;
};

const std::vector<TGroupDef>& PageCatalogue();

using TPageFactory = TPage* (*)();
// The factory of a page class, nullptr while the class does not exist.
TPageFactory FindPageFactory(std::string_view className);
// Adds (or replaces) the factory of a class of the catalogue; for pages that
// live outside this library.
void RegisterPageFactory(std::string_view className, TPageFactory factory);

}  // namespace zel
