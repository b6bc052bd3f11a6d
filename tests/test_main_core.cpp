#include <gtest/gtest.h>
#include <QCoreApplication>

// The core's tests need an event loop and Qt's text codecs, never a window.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
