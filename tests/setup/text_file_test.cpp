#include "setup/text_file.h"

#include <gmock/gmock.h>

#include "support/memory_file_system.h"
#include "setup/setup_error.h"

namespace {

using setup::ParseTextFile;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using namespace std::string_literals;

std::vector<std::string> Lines(std::string_view bytes) { return ParseTextFile(bytes).Lines(); }

TEST(TextFile, EachKindOfLineBreakEndsOneLine) {
  EXPECT_THAT(Lines(""), IsEmpty());
  EXPECT_THAT(Lines("\r\n"), ElementsAre(""));
  EXPECT_THAT(Lines("a"), ElementsAre("a"));
  EXPECT_THAT(Lines("a\r\n"), ElementsAre("a"));
  EXPECT_THAT(Lines("a\rb\nc\r\nd"), ElementsAre("a", "b", "c", "d"));
  EXPECT_THAT(Lines("a\n\rb"), ElementsAre("a", "", "b"));
  EXPECT_THAT(Lines("a\r\r\n\n"), ElementsAre("a", "", ""));
  EXPECT_THAT(Lines(std::string_view("a\r\nb\0c\r\nd", 9)), ElementsAre("a", "b"));
  EXPECT_THAT(Lines(std::string_view("\0abc", 4)), IsEmpty());
}

TEST(TextFile, FilesInTheEncodingsNotepadWritesReadAsTheirText) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"\xEF\xBB\xBF" "C:\\M\xC3\xA5linger\r\nk\xC3\xB8", {"C:\\Målinger", "kø"}},
      {"C:\\M\xC3\xA5linger\r\nk\xC3\xB8", {"C:\\Målinger", "kø"}},
      {"\xFF\xFE" "k\0\xF8\0\r\0\n\0=\xD8\0\xDE\0\0x\0"s, {"kø", "😀"}},
      {"\xFE\xFF" "\0k\0\xF8\0\r\0\n\xD8=\xDE\0"s, {"kø", "😀"}},
      {"\xC3\xA5\0\xE5"s, {"å"}},
  };
  for (const auto& [bytes, lines] : cases) EXPECT_EQ(lines, Lines(bytes)) << bytes;
}

TEST(TextFile, EveryByteButNulSurvivesARoundTrip) {
  std::string allBytes;
  for (int byte = 1; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') allBytes += static_cast<char>(byte);
  }
  setup::TextList lines = ParseTextFile(allBytes + "\r\n");
  ASSERT_EQ(1, lines.Count());
  EXPECT_EQ(allBytes + "\r\n", setup::FormatTextFile(lines));
}

TEST(TextFile, DecodesWindows1252ToUtf8AndBack) {
  EXPECT_EQ("Målested Søndervang ÆØÅ €", setup::DecodeWindows1252("M\xE5lested S\xF8ndervang \xC6\xD8\xC5 \x80"));
  // The five bytes Windows-1252 leaves undefined become the C1 controls.
  EXPECT_EQ("\u0081\u008D\u008F\u0090\u009D", setup::DecodeWindows1252("\x81\x8D\x8F\x90\x9D"));
  EXPECT_EQ("\xE6\xF8\xE5 \x9A\x9C\x9F", setup::EncodeWindows1252("æøå šœŸ"));
  EXPECT_EQ("a?b?", setup::EncodeWindows1252("aĀb\xFF"));  // not in the code page; malformed
}

TEST(TextFile, LoadAndSaveReportTheFileName) {
  platform::MemoryFileSystem fs;
  fs.AddFolder("C:\\KAMBRIX");
  setup::TextList lines;
  lines.Add("første");
  lines.Add("");
  setup::SaveTextFile(fs, "C:\\KAMBRIX\\x.bib", lines);
  EXPECT_EQ("f\xF8rste\r\n\r\n", fs.FileContent("C:\\KAMBRIX\\x.bib"));
  EXPECT_EQ(lines.Lines(), setup::LoadTextFile(fs, "C:\\KAMBRIX\\x.bib").Lines());

  EXPECT_THAT([&] { setup::LoadTextFile(fs, "C:\\KAMBRIX\\missing.dat"); },
              ThrowsMessage<setup::SetupError>(StrEq("Cannot open file C:\\KAMBRIX\\missing.dat")));
  EXPECT_THAT([&] { setup::SaveTextFile(fs, "C:\\nowhere\\x.bib", lines); },
              ThrowsMessage<setup::SetupError>(StrEq("Cannot create file C:\\nowhere\\x.bib")));
}

}  // namespace
