#include <gtest/gtest.h>

#include "common/error.h"
#include "common/hresult.h"
#include "forms/error_message.h"

namespace windlock {
namespace {

TEST(ErrorTest, CommonTextPutsNumberAndDescriptionOnLinesOfTheirOwn) {
  EXPECT_EQ(CommonErrorText("There Was An Error.", Error(-2147024891, "Access is denied.")),
            "There Was An Error.\r\nError Number: -2147024891\r\n"
            "Error Description: Access is denied.");
}

TEST(ErrorTest, HResultIsTheNumberOnlyForAFailureCode) {
  EXPECT_EQ(HResultFromError(Error(kEInvalidArg, "")), kEInvalidArg);
  EXPECT_EQ(HResultFromError(Error(kErrFileNotFound, "")), kEFail);
  EXPECT_EQ(HResultFromError(Error(0, "")), kEFail);
}

}  // namespace
}  // namespace windlock
