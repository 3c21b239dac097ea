#include "platform/box_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/cp932.h"

namespace kanaflow {
namespace {

std::set<std::size_t> CharStarts(std::string_view line) {
  std::set<std::size_t> starts;
  for (std::size_t pos = 0; pos <= line.size(); pos = pos < line.size() ? cp932::NextChar(line, pos) : pos + 1) {
    starts.insert(pos);
  }
  return starts;
}

// Paths of every kind of character: ASCII, kana whose trail byte is "\"
// (ソ, 表) or a lead byte value (ぁ is 0x82 0x9F), half-width katakana.
const std::string kLines[] = {
    "設定ファイル名：./data/" + std::string(300, 'a') + "/set.ini",
    "読み込み対象ファイル名：./data/表示ソフト表示ソフト表示ソフト表示ソフト/ぁぁぁぁぁぁぁぁ/ｶﾅｶﾅｶﾅｶﾅ.bmp",
    "ｱ漢ｲ字ｳ" + std::string(40, 'x') + "ソソソソソソソソソソ",
};

// Whatever the width asked for, the shortened line is a start and an end
// of the original, cut between characters, around "…", and fits.
TEST(BoxTextTest, AShortenedLineKeepsWholeCharactersAndFits) {
  for (const std::string& line : kLines) {
    const std::set<std::size_t> starts = CharStarts(line);
    for (std::size_t columns = 0; columns <= line.size() + 2; ++columns) {
      const std::string shortened = ShortenInMiddle(line, columns);
      const std::string where = "width " + std::to_string(columns) + ", line " + line;
      if (line.size() <= columns) {
        EXPECT_EQ(shortened, line) << where;
        continue;
      }
      EXPECT_LE(shortened.size(), std::max<std::size_t>(columns, 2)) << where;
      EXPECT_GE(shortened.size() + 3, columns) << where << ": the room is used";
      const std::size_t mark = shortened.find("…");
      ASSERT_NE(mark, std::string::npos) << where;
      const std::size_t tailLength = shortened.size() - mark - std::string("…").size();
      EXPECT_EQ(line.compare(0, mark, shortened, 0, mark), 0) << where;
      EXPECT_EQ(line.compare(line.size() - tailLength, tailLength, shortened, shortened.size() - tailLength,
                             tailLength),
                0)
          << where;
      EXPECT_TRUE(starts.count(mark)) << where << ": the start ends inside a character";
      EXPECT_TRUE(starts.count(line.size() - tailLength)) << where << ": the end begins inside a character";
    }
  }
}

TEST(BoxTextTest, FittedTextKeepsItsFirstAndLastLines) {
  const std::string text = "Kanaflow Version 0.511\nエラー番号：0104\n\n" + kLines[0] + "\n" + kLines[1] + "\n最後";
  const std::string fitted = FitLines(text, 40, 5);
  EXPECT_EQ(fitted.rfind("Kanaflow Version 0.511\nエラー番号：0104\n", 0), 0u) << fitted;
  EXPECT_EQ(fitted.substr(fitted.size() - 5), "\n最後") << fitted;
  std::size_t lines = 1;
  for (std::size_t pos = 0; (pos = fitted.find('\n', pos)) != std::string::npos; ++pos) ++lines;
  EXPECT_EQ(lines, 5u) << fitted;
  EXPECT_EQ(FitLines(text, 400, 40), text) << "a text that fits stays as it is";
}

}  // namespace
}  // namespace kanaflow
