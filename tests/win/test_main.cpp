// Entry of the Windows test programs: the application object exists before any test runs.

#include "ui/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wyndo::Application.Initialize();
  wyndo::Application.SetTitle("Wyndo Tests");
  return RUN_ALL_TESTS();
}
