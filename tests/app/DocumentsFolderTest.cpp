// The choice of the documents folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/DocumentsFolder.h"
#include "tests/support/TestFiles.h"

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
