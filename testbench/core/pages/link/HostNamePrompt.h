#pragma once
// The computer to reach: an editable host name with the names used before
// (most recent first), kept in the test bench's settings.
#include <QString>
#include <QStringList>

class QWidget;

namespace zel {

// Names used before, most recent first.
QStringList HostNameHistory();
// Puts a name in front of the history (no duplicates, at most 20 names).
void RememberHostName(const QString& name);
// Asks for a name, offering the history; empty when cancelled.
QString AskHostName(QWidget* parent, const QString& current);

}  // namespace zel
