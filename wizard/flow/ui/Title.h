#pragma once
// The program's title and window caption.
#include <QString>

namespace zel {

QString ProgramTitle();  // "Tamarex"
// "Tamarex 4.13.0.594 (64-bit)", with " [X5]" in X5 mode.
QString MainCaption(bool x5Mode);
// Translation of a message id in the wizard's domain.
QString TrQ(const char* msgid);

}  // namespace zel
