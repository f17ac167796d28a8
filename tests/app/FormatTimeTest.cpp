// Time text of the labels and the choice of the documents folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>

#include "app/DocumentsFolder.h"
#include "app/FormatTime.h"
#include "tests/support/TestFiles.h"

TEST(FormatTime, ZeroAndNegativeReadZero) {
  EXPECT_EQ(FormatTime(0), "00:00:00.000");
  EXPECT_EQ(FormatTime(-5), "00:00:00.000");
  EXPECT_EQ(FormatTime(INT_MIN), "00:00:00.000");
}

TEST(FormatTime, FieldsCarryAtTheirLimits) {
  EXPECT_EQ(FormatTime(999), "00:00:00.999");
  EXPECT_EQ(FormatTime(59999), "00:00:59.999");
  EXPECT_EQ(FormatTime(3599999), "00:59:59.999");
  EXPECT_EQ(FormatTime(3600000), "01:00:00.000");
  EXPECT_EQ(FormatTime(3723456), "01:02:03.456");
}

TEST(FormatTime, HoursAreNotBounded) {
  EXPECT_EQ(FormatTime(100 * 3600000), "100:00:00.000");
  EXPECT_EQ(FormatTime(INT_MAX), "596:31:23.647");
}

TEST(DocumentsFolder, PrefersTheDesktopsAnswer) {
  TempDir home;
  const std::string docs = home.File("Dokumente");
  ASSERT_EQ(mkdir(docs.c_str(), 0755), 0);
  EXPECT_EQ(ChooseDocumentsFolder(docs, home.Path()), docs + "/");
  EXPECT_EQ(ChooseDocumentsFolder(docs + "/", home.Path()), docs + "/");
}

TEST(DocumentsFolder, FallsBackToDocumentsThenHome) {
  TempDir home;
  // No answer, or the answer "$HOME" (nothing configured), or a folder that is gone.
  EXPECT_EQ(ChooseDocumentsFolder("", home.Path()), home.Path() + "/");
  EXPECT_EQ(ChooseDocumentsFolder(home.Path(), home.Path()), home.Path() + "/");
  ASSERT_EQ(mkdir(home.File("Documents").c_str(), 0755), 0);
  EXPECT_EQ(ChooseDocumentsFolder(home.Path() + "/", home.Path()), home.File("Documents") + "/");
  EXPECT_EQ(ChooseDocumentsFolder(home.File("gone"), home.Path()), home.File("Documents") + "/");
  EXPECT_EQ(ChooseDocumentsFolder("", ""), "/");
  EXPECT_EQ(ChooseDocumentsFolder("", home.File("gone")), "/");
}
