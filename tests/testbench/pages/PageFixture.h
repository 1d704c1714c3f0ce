#pragma once
// A page of the test bench against the in-process virtual register, with
// every command the driver sends and every answer recorded.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <memory>
#include <vector>

#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "testbench/core/Driver.h"
#include "testbench/core/Pages.h"

namespace zel {

class PageFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Driver().SetInProcessDevice([this](const Bytes& command) {
      sent.push_back(command);
      Bytes answer = hook ? hook(command) : Bytes{};
      if (answer.empty()) answer = handler.Handle(command);
      answers.push_back(answer);
      return answer;
    });
  }
  void TearDown() override {
    page.reset();
    FreeDriver();
  }

  template <class T>
  T* Open() {
    auto* p = new T;
    page.reset(p);
    p->show();
    return p;
  }
  QPushButton* Button(const char* name) const {
    auto* b = page->findChild<QPushButton*>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
  }
  void Click(const char* name) const { Button(name)->click(); }
  QString MemoText(const char* name = "Memo") const {
    auto* m = page->findChild<QPlainTextEdit*>(name);
    EXPECT_NE(m, nullptr) << name;
    return m ? m->toPlainText() : QString();
  }
  // Sends one command straight to the register.
  Bytes Direct(const Bytes& command) { return handler.Handle(command); }

  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  // Answers a command itself when it returns a non-empty answer.
  std::function<Bytes(const Bytes&)> hook;
  std::vector<Bytes> sent;
  std::vector<Bytes> answers;
  std::unique_ptr<TPage> page;
};

}  // namespace zel
