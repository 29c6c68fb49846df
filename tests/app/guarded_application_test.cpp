// An exception inside an event handler is shown and goes no further than the event.
#include "app/guarded_application.h"

#include <gtest/gtest.h>

#include <new>
#include <ios>
#include <stdexcept>

#include "tests/app/app_test_support.h"

namespace {

using zelvorin::deliver_guarded;
using zelvorin::testing::RecordedMessages;

TEST(GuardedApplication, AnExceptionBecomesAnErrorBoxAndTheEventIsNotHandled) {
  RecordedMessages messages;
  EXPECT_TRUE(deliver_guarded([] { return true; }));
  EXPECT_FALSE(deliver_guarded([]() -> bool { throw std::ios_base::failure("Is a directory"); }));
  EXPECT_FALSE(deliver_guarded([]() -> bool { throw std::bad_alloc(); }));
  EXPECT_FALSE(deliver_guarded([]() -> bool { throw 1; }));
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_TRUE(messages.shown[0].startsWith(QStringLiteral("Is a directory")));
  EXPECT_EQ(messages.shown[1], QStringLiteral(" There is not enough free hard disk to carry out computations! "));
  EXPECT_EQ(messages.shown[2], QStringLiteral("The action could not be completed"));
}

}  // namespace
