#include <gtest/gtest.h>

#include "core/zengin/bank_list.h"
#include "gui/viewers/result_data_model.h"
#include "result_viewer_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

// The fixture's data records pay 三井住友 (0009), branch 立売堀 (123); the third
// is changed to a bank code no bank has.
TEST(ResultBankTips, BankAndBranchCellsNameTheBankListsKanji) {
  ASSERT_TRUE(shipped_bank_list());
  testing::ScopedWorkingDir dir;
  QByteArray file = testing::credit_bank_file(3);
  file.replace(3 * 120 + 1, 4, "9999");
  testing::write_file(QStringLiteral("bank.dat"), file);
  ZenginRecordReader reader;
  ASSERT_TRUE(reader.open(QStringLiteral("bank.dat"), 120));
  QStringList headings;
  for (int c = 0; c < 15; ++c) headings << QString::number(c + 1);
  ResultDataModel model(reader, TransferKind::Credit, false, headings);
  model.show_through_record(4);

  const auto tip = [&](int row, int column) {
    return model.data(model.index(row, column), Qt::ToolTipRole).toString();
  };
  EXPECT_EQ(tip(0, 1), QStringLiteral("三井住友"));
  EXPECT_EQ(tip(0, 2), QStringLiteral("三井住友"));
  EXPECT_EQ(tip(0, 3), QStringLiteral("三井住友 立売堀"));
  EXPECT_EQ(tip(1, 4), QStringLiteral("三井住友 立売堀"));
  EXPECT_EQ(tip(2, 1), QStringLiteral("銀行一覧にありません"));
  EXPECT_EQ(tip(2, 3), QStringLiteral("銀行一覧にありません"));
  // Other cells, and the cells as shown, are what they were.
  EXPECT_EQ(tip(0, 0), QString());
  EXPECT_EQ(tip(0, 8), QString());
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("0009"));
}

}  // namespace
}  // namespace tsubakuro
