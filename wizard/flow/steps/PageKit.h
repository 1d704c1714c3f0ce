#pragma once
// Small helpers the step pages build their controls with.
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <initializer_list>

#include "wizard/flow/ui/Controller.h"
#include "wizard/flow/ui/Title.h"

namespace zel {

// A vertical layout for the page.
QVBoxLayout* PageLayout(QWidget* page);
QLabel* AddLabel(QWidget* page, const char* name, const char* text);
// A caption above an edit named `name`.
QLineEdit* AddEdit(QWidget* page, const char* name, const char* caption, int maxLength = 0);
// A list of translated items, the first selected; a double click presses "Далее".
QListWidget* AddList(QWidget* page, const char* name, std::initializer_list<const char*> items);
QString Q(const std::string& s);
std::string S(const QString& s);
std::string Trimmed(const QString& s);
[[noreturn]] void Fail(const QString& text);
// "Введите значение \"<label>\"!"
[[noreturn]] void FailMissing(const char* label);
// Sets the red / green / black text colour of a label.
void SetTextColor(QLabel* label, const char* color);
// The class reference of a page type.
template <class T>
TParamPageClass PageClass() {
  return &T::staticMetaObject;
}
template <class T>
void GoTo() {
  Controller().NextPageClass = PageClass<T>();
}

}  // namespace zel
