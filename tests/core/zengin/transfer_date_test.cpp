#include "core/zengin/transfer_date.h"

#include <gtest/gtest.h>

namespace tsubakuro {
namespace {

TEST(TransferDate, KeepsTheLastTwoCharactersOfEachPartAfterLeadingZeros) {
  EXPECT_EQ(compose_transfer_date(u"4", u"5"), QStringLiteral("0405"));
  EXPECT_EQ(compose_transfer_date(u"12", u"1"), QStringLiteral("1201"));
  EXPECT_EQ(compose_transfer_date(u"", u""), QStringLiteral("0000"));
  // Nothing is checked: the header's date check logs what is no date.
  EXPECT_EQ(compose_transfer_date(u"13", u"40"), QStringLiteral("1340"));
  EXPECT_EQ(compose_transfer_date(u"a", u"ｲ"), QStringLiteral("0a0ｲ"));
}

}  // namespace
}  // namespace tsubakuro
