#pragma once
// The program's name, version and the texts built from them.
#include <QIcon>
#include <QString>

namespace zel {

QString ProgramTitle();    // "Zelserv"
QString ProgramVersion();  // file version, "4.13.0.594"
QString WordSize();        // " (64-bit)" or " (32-bit)", as this build runs
QString WindowCaption();   // title, version and word size
QString AboutText();       // the about box's contents with the version line
QIcon ProgramIcon();       // the program's main icon
// A message id translated in the server's catalogue.
QString TrQ(const char* msgid);

}  // namespace zel
