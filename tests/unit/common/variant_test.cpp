#include "common/variant.h"

#include <gtest/gtest.h>

namespace windlock {
namespace {

TEST(VariantTest, TextOfEachKind) {
  EXPECT_EQ(Variant().ToText(), "");
  EXPECT_EQ(Variant(-42).ToText(), "-42");
  EXPECT_EQ(Variant("a b").ToText(), "a b");
  // Bytes pass unchanged, a NUL included: a captured POST body is sent again as it came.
  EXPECT_EQ(Variant(Variant::Bytes{'a', 0, 0xFF}).ToText(), std::string("a\0\xFF", 3));
  EXPECT_EQ(Variant(std::shared_ptr<XmlDocument>()).ToText(), "");
}

TEST(VariantTest, EqualOnlyInKindAndValue) {
  EXPECT_EQ(Variant("1"), Variant(std::string("1")));
  EXPECT_NE(Variant("1"), Variant(1));
  EXPECT_NE(Variant(""), Variant());
  EXPECT_NE(Variant(Variant::Bytes{}), Variant(""));
  EXPECT_TRUE(Variant(std::shared_ptr<XmlNode>()).is_node());
  EXPECT_FALSE(Variant(std::shared_ptr<XmlNode>()).is_document());
}

}  // namespace
}  // namespace windlock
