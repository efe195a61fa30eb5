#include "setup/text_list.h"

#include <gmock/gmock.h>

#include "setup/setup_error.h"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

TEST(TextList, IndexOutsideTheListIsAnError) {
  setup::TextList list;
  list.Add("a");
  EXPECT_EQ("a", list.Get(0));
  EXPECT_THAT([&] { list.Get(5); },
              ThrowsMessage<setup::SetupError>(StrEq("List index out of bounds (5)")));
  EXPECT_THROW(list.Get(-1), setup::SetupError);
}

}  // namespace
