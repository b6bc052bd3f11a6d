#include "core/conversion/run_files.h"

#include <gtest/gtest.h>

namespace tsubakuro {
namespace {

TEST(RunFiles, AWorkbookIsReadFromItsTextFile) {
  EXPECT_EQ(run_input_file("支払.xls"), "tbk.tmp");
  EXPECT_EQ(run_input_file("C:/data/SHIHARAI.XLS"), "tbk.tmp");
  EXPECT_EQ(run_input_file("list.xlsx"), "tbk.tmp");
  EXPECT_EQ(run_input_file("list.csv"), "list.csv");
  EXPECT_EQ(run_input_file("xls"), "xls");
  EXPECT_EQ(run_input_file("list.xls.csv"), "list.xls.csv");
}

}  // namespace
}  // namespace tsubakuro
