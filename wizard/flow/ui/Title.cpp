#include "wizard/flow/ui/Title.h"

#include "common/Translate.h"

namespace zel {

QString ProgramTitle() { return QStringLiteral("Tamarex"); }

QString MainCaption(bool x5Mode) {
  QString caption = ProgramTitle() + " " + QStringLiteral(ZEL_VERSION) +
                    QString(" (%1-bit)").arg(static_cast<int>(sizeof(void*) * 8));
  if (x5Mode) caption += " [X5]";
  return caption;
}

QString TrQ(const char* msgid) { return QString::fromStdString(Tr(msgid)); }

}  // namespace zel
