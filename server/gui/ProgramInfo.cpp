#include "server/gui/ProgramInfo.h"

#include "common/Translate.h"

namespace zel {

QString TrQ(const char* msgid) { return QString::fromStdString(Tr(msgid)); }

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/zelserv/zelserv.png")); }

QString ProgramTitle() { return QStringLiteral("Zelserv"); }

QString ProgramVersion() {
  return QStringLiteral("%1.%2.%3.%4")
      .arg(ZEL_VERSION_MAJOR)
      .arg(ZEL_VERSION_MINOR)
      .arg(ZEL_VERSION_PATCH)
      .arg(ZEL_VERSION_BUILD);
}

QString WordSize() { return QStringLiteral(" (%1-bit)").arg(sizeof(void*) * 8); }

QString WindowCaption() { return ProgramTitle() + " " + ProgramVersion() + WordSize(); }

QString AboutText() {
  return ProgramTitle() + "\n" +
         TrQ("Сервер ККТ: общий доступ к регистраторам на COM портах") + "\n\n" +
         TrQ("Версия: ") + ProgramVersion() + WordSize();
}

}  // namespace zel
