#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "conversion_fixture.h"
#include "gui/conversion/date_prompt.h"

namespace tsubakuro::testing {
namespace {

class BankDayPrompt : public ConversionWindowTest {
 protected:
  DatePrompt* open_on(QDate today) {
    auto* prompt = qobject_cast<DatePrompt*>(open_date_prompt());
    if (prompt) prompt->set_today([today] { return today; });
    return prompt;
  }
  static void type(DatePrompt* prompt, const QString& month, const QString& day) {
    for (const auto& [name, text] : {std::pair{QStringLiteral("Text1(0)"), month},
                                     std::pair{QStringLiteral("Text1(1)"), day}}) {
      QLineEdit* box = prompt->findChild<QLineEdit*>(name);
      box->selectAll();
      QTest::keyClick(box, Qt::Key_Backspace);
      QTest::keyClicks(box, text);
    }
  }
  static QLabel* label(DatePrompt* prompt, const char* name) {
    return prompt->findChild<QLabel*>(QString::fromLatin1(name));
  }
};

TEST_F(BankDayPrompt, NewYearsDayIsShownWithARedWarningAndCanStillBeConverted) {
  DatePrompt* prompt = open_on(QDate(2026, 12, 7));
  ASSERT_NE(prompt, nullptr);
  type(prompt, QStringLiteral("1"), QStringLiteral("1"));

  EXPECT_EQ(label(prompt, "LabelTransferDay")->text(), QStringLiteral("2027年1月1日（金）"));
  QLabel* warning = label(prompt, "LabelBankClosed");
  EXPECT_EQ(warning->text(), QStringLiteral("銀行休業日です（元日）"));
  EXPECT_TRUE(warning->isVisible());
  EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(button(prompt, QStringLiteral("Command1(1)"))->isEnabled());
}

TEST_F(BankDayPrompt, TheDayFollowsTheEntryAndABusinessDayHasNoWarning) {
  DatePrompt* prompt = open_on(QDate(2026, 12, 7));
  ASSERT_NE(prompt, nullptr);
  const struct {
    const char* month;
    const char* day;
    const char16_t* shown;
    const char16_t* warning;
  } cases[] = {
      {"01", "04", u"2027年1月4日（月）", u""},
      {"12", "07", u"2026年12月7日（月）", u""},  // today counts
      {"12", "06", u"2027年12月6日（月）", u""},  // past days mean next year
      {"12", "31", u"2026年12月31日（木）", u"銀行休業日です（年末年始）"},
      {"12", "12", u"2026年12月12日（土）", u"銀行休業日です（土曜日）"},
      {"3", "22", u"2027年3月22日（月）", u"銀行休業日です（振替休日）"},
      {"2", "29", u"2028年2月29日（火）", u""},
      {"13", "40", u"", u""},
      {"", "", u"", u""},
  };
  for (const auto& c : cases) {
    type(prompt, QString::fromLatin1(c.month), QString::fromLatin1(c.day));
    EXPECT_EQ(label(prompt, "LabelTransferDay")->text(), QString::fromUtf16(c.shown))
        << c.month << "/" << c.day;
    EXPECT_EQ(label(prompt, "LabelBankClosed")->text(), QString::fromUtf16(c.warning))
        << c.month << "/" << c.day;
  }
}

TEST_F(BankDayPrompt, TheStoredDateIsShownWhenThePromptOpens) {
  DatePrompt* prompt = open_on(QDate(2026, 12, 7));
  ASSERT_NE(prompt, nullptr);
  const QString stored = prompt->findChild<QLineEdit*>(QStringLiteral("Text1(0)"))->text() +
                         prompt->findChild<QLineEdit*>(QStringLiteral("Text1(1)"))->text();
  ASSERT_EQ(stored, QStringLiteral("0425"));  // the sample company's date
  EXPECT_EQ(label(prompt, "LabelTransferDay")->text(), QStringLiteral("2027年4月25日（日）"));
  EXPECT_EQ(label(prompt, "LabelBankClosed")->text(), QStringLiteral("銀行休業日です（日曜日）"));
}

}  // namespace
}  // namespace tsubakuro::testing
