#pragma once
// Translated texts as QString.
#include <QString>

#include "common/Translate.h"

namespace zel {

inline QString QTr(const char* msgid) { return QString::fromStdString(Tr(msgid)); }

}  // namespace zel
