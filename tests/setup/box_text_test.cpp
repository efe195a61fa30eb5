#include "setup/box_text.h"

#include <gtest/gtest.h>

namespace {

TEST(BoxText, ErrorTextEndsInAFullStopAndTitleIsTheFileNameCapitalised) {
  EXPECT_EQ("List index out of bounds (5)", setup::ErrorBoxText("List index out of bounds (5)"));
  EXPECT_EQ("Unspecified error.", setup::ErrorBoxText("Unspecified error"));
  EXPECT_EQ("Done.", setup::ErrorBoxText("Done."));
  // The list after the error's line gets no full stop.
  EXPECT_EQ("Cannot create file C:\\a|b.bib.\n\nC:\\x.exe",
            setup::ErrorBoxText("Cannot create file C:\\a|b.bib\n\nC:\\x.exe"));
  EXPECT_EQ("Setup", setup::TitleFromFileName("SETUP.EXE"));
  EXPECT_EQ("Ødelæg", setup::TitleFromFileName("ØDELÆG.x.exe"));
}

}  // namespace
