#include "app/core/messages.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(MessagesTest, ComposedFormsCutEachInsertedTextAt80) {
  ScopedMessages messages;
  const std::string long_text(200, 'b');
  message2("first", long_text);
  message3(std::string(90, 'a'), "x", "y");
  messageInt("Illegal directory id", 7);
  messageLong("count", -123456789L);
  messageFormat("%s has %d", "dir", 3);
  ASSERT_EQ(messages->shown().size(), 5u);
  EXPECT_EQ(messages->shown()[0].text, "first " + std::string(80, 'b'));
  EXPECT_EQ(messages->shown()[1].text, std::string(80, 'a') + " x y");
  EXPECT_EQ(messages->shown()[2].text, "Illegal directory id 7");
  EXPECT_EQ(messages->shown()[3].text, "count -123456789");
  EXPECT_EQ(messages->shown()[4].text, "dir has 3");
  for (const auto& shown : messages->shown()) EXPECT_EQ(shown.caption, "Message");
}

TEST(MessagesTest, MessageFormatStopsAt1023Characters) {
  ScopedMessages messages;
  messageFormat("%s", std::string(5000, 'z').c_str());
  EXPECT_EQ(messages->shown().at(0).text.size(), 1023u);
}

TEST(MessagesTest, ErrorCaptionFollowsLanguage) {
  ScopedMessages messages;
  struct Case {
    int language;
    const char* caption;
  } cases[] = {{0, "Error"}, {1, "Fout"}, {2, "Erreur"}, {3, "Error"}, {-1, "Error"}};
  for (const auto& c : cases) {
    messages->clear();
    errorMessage("bad", c.language);
    ASSERT_EQ(messages->shown().size(), 1u);
    EXPECT_EQ(messages->shown()[0].caption, c.caption) << c.language;
  }
}

TEST(MessagesTest, HeadlessQuestionsTakeGivenAnswersThenNo) {
  ScopedMessages messages;
  messages->answerNext(true);
  messages->answerNext(false);
  EXPECT_TRUE(question("Install?"));
  EXPECT_FALSE(question("Again?"));
  EXPECT_FALSE(question("Unanswered?"));
  EXPECT_EQ(messages->shown()[0].caption, "Norvale Korvane");
}

}  // namespace
}  // namespace kvqt
