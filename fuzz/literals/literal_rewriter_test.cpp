// The inputs are UTF-8 source text (this file is compiled as it is, never
// rewritten); the expected escapes are the CP932 codes of the characters:
// あ 0x82A0 = \202\240, 漢 0x8ABF = \212\277, half-width ｱ 0xB1 = \261.
#include "literals/literal_rewriter.h"

#include <gtest/gtest.h>

namespace kanaflow::literals {
namespace {

struct Row {
  const char* name;
  const char* source;
  const char* expected;
};

void ExpectRewrites(const Row* rows, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const RewriteResult result = RewriteNarrowLiterals(rows[i].source, Utf8ToCp932);
    EXPECT_EQ(result.error, "") << rows[i].name;
    EXPECT_EQ(result.text, rows[i].expected) << rows[i].name;
  }
}

TEST(LiteralRewriterTest, WritesNonAsciiTextOfNarrowLiteralsAsItsCp932Bytes) {
  const Row rows[] = {
      {"a string", "f(\"あ\");", "f(\"\\202\\240\");"},
      {"text around it", "\"xあy漢z\"", "\"x\\202\\240y\\212\\277z\""},
      {"a digit after it stays a character", "\"あ1\"", "\"\\202\\2401\""},
      {"a hex digit after it stays a character", "\"漢abc\"", "\"\\212\\277abc\""},
      {"escapes stay as written", "\"\\x41あ\\n\\\"\"", "\"\\x41\\202\\240\\n\\\"\""},
      {"an escaped quote does not end it", "\"\\\"あ\" \"い\"", "\"\\\"\\202\\240\" \"\\202\\242\""},
      {"a one-byte character literal", "c == 'ｱ'", "c == '\\261'"},
      {"a raw literal becomes an ordinary one", "R\"(あ\"\\)\"", "\"\\202\\240\\\"\\\\\""},
      {"a raw literal keeps its lines", "R\"x(あ\nb)x\";", "\"\\202\\240\\n\"\n\"b\";"},
  };
  ExpectRewrites(rows, std::size(rows));
}

TEST(LiteralRewriterTest, LeavesEverythingElseAsItIs) {
  const Row rows[] = {
      {"ASCII literals", "puts(\"abc\\x82\"); c = 'x';", "puts(\"abc\\x82\"); c = 'x';"},
      {"prefixed literals", "u8\"あ\" L\"あ\" u\"あ\" U'あ' LR\"(あ)\"", "u8\"あ\" L\"あ\" u\"あ\" U'あ' LR\"(あ)\""},
      {"line comments", "x; // \"あ\" 'い'\n", "x; // \"あ\" 'い'\n"},
      {"block comments", "/* \"あ\"\n 'い' */ y", "/* \"あ\"\n 'い' */ y"},
      {"include lines", "#include \"あ.h\"\n", "#include \"あ.h\"\n"},
      {"digit separators", "1'000 + 0x1'F; \"あ\"", "1'000 + 0x1'F; \"\\202\\240\""},
      {"identifiers that end in R or u", "fooR\"あ\" bu\"あ\"", "fooR\"\\202\\240\" bu\"\\202\\240\""},
  };
  ExpectRewrites(rows, std::size(rows));
}

TEST(LiteralRewriterTest, RefusesWhatCannotBeRewrittenAndNamesTheLine) {
  const Row rows[] = {
      {"a two-byte character literal", "\n\nc = 'あ';", "3: a character literal whose character takes two bytes in CP932"},
      {"text CP932 cannot write", "x;\n\"\xF0\x9F\x98\x80\"", "2: text that CP932 cannot write"},
      {"an unterminated literal", "\"あ\n\"", "1: an unterminated literal"},
      {"an unterminated raw literal", "R\"(あ", "1: an unterminated raw literal"},
  };
  for (const Row& row : rows) {
    const RewriteResult result = RewriteNarrowLiterals(row.source, Utf8ToCp932);
    EXPECT_EQ(result.error, row.expected) << row.name;
    EXPECT_EQ(result.text, "") << row.name;
  }
}

}  // namespace
}  // namespace kanaflow::literals
