// GUI test entry: a private config and data folder per process, the
// offscreen platform, scripted dialogs, one QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "testbench/core/Dialogs.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
  setenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit().constData(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  zel::dialogs::SetScripted(true);
  return RUN_ALL_TESTS();
}
