#include "setup/box_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

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

TEST(ShortenedPath, LongPathsLoseTheirMiddleSoThatTheBoxesFitTheScreen) {
  const std::string x88(88, 'x'), n100(100, 'n');
  std::string aa;  // 100 characters of two bytes each
  for (int i = 0; i < 100; ++i) aa += "å";
  const std::string whole = "C:\\KAMBRIX\\" + x88.substr(0, 69) + "\\pic\\x.png";  // 90, with folders
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\" + x88.substr(1), "C:\\" + x88.substr(1)},  // 90 characters
      {"C:\\KAMBRIX\\" + x88 + "\\MSinfo\\pic\\x.png", "C:\\KAMBRIX\\…\\pic\\x.png"},
      {"C:\\KAMBRIX\\" + aa, "C:\\KAMBRIX\\" + aa.substr(0, 66) + "…" + aa.substr(0, 90)},
      {"C:\\KAMBRIX\\a\\" + n100 + "\\x.png",
       "C:\\KAMBRIX\\…\\" + n100.substr(0, 31) + "…" + n100.substr(0, 39) + "\\x.png"},
      {whole, whole},
      {"C:\\KAMBRIX\\" + n100 + "\\x.png",  // three separators: no folders to leave out
       "C:\\KAMBRIX\\" + n100.substr(0, 33) + "…" + n100.substr(0, 39) + "\\x.png"},
      {"C:\\KAMBRIX\\" + x88 + "\\" + n100.substr(0, 71) + "\\x.png",  // shortened to 90
       "C:\\KAMBRIX\\…\\" + n100.substr(0, 71) + "\\x.png"},
  };
  for (const auto& [path, shown] : cases) {
    EXPECT_EQ(shown, setup::ShortenedPath(path));
    EXPECT_EQ("Cannot create file " + shown + "\nno path: " + x88 + x88 + "\n" + shown,
              setup::ShortenedPaths("Cannot create file " + path + "\nno path: " + x88 + x88 +
                                      "\n" + path));
  }
}

}  // namespace
