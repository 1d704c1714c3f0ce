#pragma once
// Every message box of the server window goes through here, so that a test
// can answer it in advance instead of a modal window blocking the run.
#include <QString>

#include <functional>

class QWidget;

namespace zel {

enum class TMessageKind { Error, Question, About };

// Receives the box instead of the user; returns the answer (true: Yes/OK).
using TMessageHandler = std::function<bool(TMessageKind kind, const QString& text)>;

// Shows the box under the program title; true when the user chose Yes
// (error and about boxes always give true).
bool ShowMessage(QWidget* parent, TMessageKind kind, const QString& text);
// Installs a handler that answers every box from now on; empty restores real boxes.
void SetMessageHandler(TMessageHandler handler);

}  // namespace zel
