#include <gtest/gtest.h>

#include "dictionary/labels.h"
#include "engine/query.h"

namespace vordo {
namespace {

TEST(ExpandLabelsTest, ReplacesWholeCodeTokensOnlyWhenTheTextHasASpace) {
  EXPECT_EQ(ExpandLabels("look forward to ing", kHeadLabelTable), "look forward to (+ing)");
  EXPECT_EQ(ExpandLabels("so that", kHeadLabelTable), "so (that...)");
  EXPECT_EQ(ExpandLabels("ing", kHeadLabelTable), "ing");
  EXPECT_EQ(ExpandLabels("ing ", kHeadLabelTable), "(+ing) ");
  EXPECT_EQ(ExpandLabels("4", kTranslationLabelTable), "4");
  EXPECT_EQ(ExpandLabels("", kTranslationLabelTable), "");
  EXPECT_EQ(ExpandLabels("myslet si \x9E" "e", kTranslationLabelTable), "myslet si (\x9E" "e...)");
  EXPECT_EQ(ExpandLabels("a kdy\x9E", kTranslationLabelTable), "a (kdy\x9E...)");
  EXPECT_EQ(ExpandLabels("x 2 7", kTranslationLabelTable), "x (koho/\xE8" "eho) (k\xFDm/\xE8\xEDm)");
}

TEST(ExpandLabelsTest, LeavesNonCodesAndKeepsEverySpace) {
  EXPECT_EQ(ExpandLabels("ING Inf x", kHeadLabelTable), "ING Inf x");
  EXPECT_EQ(ExpandLabels("ing, (4) 5", kTranslationLabelTable), "ing, (4) 5");
  EXPECT_EQ(ExpandLabels("\x8E" "e x", kTranslationLabelTable), "\x8E" "e x");  // capital Z-caron
  EXPECT_EQ(ExpandLabels(" n  pf ", kHeadLabelTable), " (sb/st)  (oneself) ");
  // The same code means different things in the two tables.
  EXPECT_EQ(ExpandLabels("x n", kTranslationLabelTable), "x n");
  EXPECT_EQ(ExpandLabels("x 1", kHeadLabelTable), "x 1");
  EXPECT_EQ(ExpandLabels("x inf", kTranslationLabelTable), "x (+inf)");
}

TEST(TrimQueryTest, DropsLeadingBlanksColonsAndEverythingFromTheFirstParenthesis) {
  auto trimmed = [](std::string query) {
    TrimQuery(&query);
    return query;
  };
  EXPECT_EQ(trimmed(" :house (noun) "), "house");
  EXPECT_EQ(trimmed("take off"), "take off");
  EXPECT_EQ(trimmed("(noun) house"), "");
  EXPECT_EQ(trimmed(" \t (x"), "");
  EXPECT_EQ(trimmed("::\t"), "");
  EXPECT_EQ(trimmed("a:b \t"), "a:b");
  EXPECT_EQ(trimmed(""), "");
}

}  // namespace
}  // namespace vordo
