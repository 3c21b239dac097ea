// Our CP932 rules and profile reader and writer, checked against the
// platform's own functions. Built only for Windows; runs under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "kanaflow-check/device_names.h"
#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "platform/text_encoding.h"
#include "questions/library_order.h"
#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::TempFolder;

constexpr LCID kJapanese = 0x0411;
constexpr UINT kCodePage932 = 932;

// ---------------------------------------------------------------------------
// Katakana and half-width mappings

std::string CodeBytes(std::uint16_t code) {
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::string Hex(std::uint16_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(code));
  return text;
}

// The character as code page 932 reads it; empty when the platform does not
// assign the code.
std::wstring PlatformWide(const std::string& bytes) {
  wchar_t wide[4] = {};
  const int length =
      MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 4);
  return std::wstring(wide, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string PlatformCp932(const std::wstring& wide) {
  char bytes[8] = {};
  const int length = WideCharToMultiByte(kCodePage932, 0, wide.data(), static_cast<int>(wide.size()), bytes,
                                         sizeof bytes, nullptr, nullptr);
  return std::string(bytes, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string LcMap(DWORD flags, const std::string& text) {
  char out[16] = {};
  const int length = LCMapStringA(kJapanese, flags, text.data(), static_cast<int>(text.size()), out, sizeof out);
  return std::string(out, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// Where the platform's half-width mapping and ours part. Ours follows the
// Unicode halfwidth and fullwidth forms and gives a byte only when the form is
// a character of code page 932. Microsoft documents LCMAP_HALFWIDTH only as
// "narrow characters where applicable", so the platform's side is what Wine
// gives; Wine keeps Windows' narrow table (its own code names the right
// quotation marks and leaves out U+FF3C on purpose).
struct HalfWidthDifference {
  std::uint16_t code;
  int ours;      // -1: no one-byte form
  int platform;  // -1: no one-byte result
  const char* why;
};

constexpr HalfWidthDifference kHalfWidthDifferences[] = {
    // Unicode pairs ＼ with the backslash; the platform leaves ＼ as it is (in
    // Japanese fonts 0x5C is the yen sign, and ￥ is what narrows to it).
    {0x815F, '\\', -1, "＼: Unicode form is 0x5C; the platform keeps ＼"},
    // Curly quotation marks are not halfwidth/fullwidth pairs in Unicode; the
    // platform narrows them to the ASCII quotes. ’ and ” never reach the
    // half-width fallback of the romaji rules, whose symbol table spells them.
    {0x8165, -1, '\'', "‘: no Unicode form; the platform gives '"},
    {0x8166, -1, '\'', "’: no Unicode form; the platform gives '"},
    {0x8167, -1, '"', "“: no Unicode form; the platform gives \""},
    {0x8168, -1, '"', "”: no Unicode form; the platform gives \""},
    // The half-width forms ¥ (U+00A5) and ¦ (U+00A6) are not characters of
    // code page 932; the platform's conversion back writes their best-fit
    // stand-ins, other characters. ￥ is spelled by the romaji symbol table.
    {0x818F, -1, '\\', "￥: Unicode form U+00A5 is not in code page 932; best fit gives 0x5C"},
    {0xFA55, -1, '|', "￤: Unicode form U+00A6 is not in code page 932; best fit gives |"},
    {0xEEFA, -1, '|', "￤ (NEC's copy of 0xFA55): as 0xFA55"},
    // The half-width forms U+FFE8..U+FFEE are not in code page 932; the
    // platform writes its default character instead.
    {0x819B, -1, '?', "○: Unicode form U+FFEE is not in code page 932"},
    {0x81A1, -1, '?', "■: Unicode form U+FFED is not in code page 932"},
    {0x81A8, -1, '?', "→: Unicode form U+FFEB is not in code page 932"},
    {0x81A9, -1, '?', "←: Unicode form U+FFE9 is not in code page 932"},
    {0x81AA, -1, '?', "↑: Unicode form U+FFEA is not in code page 932"},
    {0x81AB, -1, '?', "↓: Unicode form U+FFEC is not in code page 932"},
    {0x84A0, -1, '?', "│: Unicode form U+FFE8 is not in code page 932"},
};

const HalfWidthDifference* FindHalfWidthDifference(std::uint16_t code) {
  for (const HalfWidthDifference& difference : kHalfWidthDifferences) {
    if (difference.code == code) return &difference;
  }
  return nullptr;
}

int OneByte(const std::optional<unsigned char>& byte) { return byte ? *byte : -1; }

int OneByte(const std::string& mapped) {
  return mapped.size() == 1 ? static_cast<unsigned char>(mapped[0]) : -1;
}

// Code page 932 holds some characters twice (see cp932::PreferredCode). The
// platform maps through UTF-16, so for a duplicate code its katakana mapping
// returns the preferred code although nothing was mapped; ours leaves every
// character that is not hiragana as it was written. Every code is compared.
TEST(PlatformAgreementTest, KatakanaAndHalfWidthFormsOfEveryDoubleByteCharacter) {
  int compared = 0;
  int duplicates = 0;
  std::vector<std::uint16_t> differencesSeen;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;  // one-byte katakana
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;  // DEL is never a trail byte
      const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
      const std::string bytes = CodeBytes(code);
      const std::wstring wide = PlatformWide(bytes);
      if (wide.empty()) continue;  // not a character of code page 932
      ++compared;
      const std::uint16_t preferred = cp932::PreferredCode(code);
      EXPECT_EQ(PlatformCp932(wide), CodeBytes(preferred)) << "preferred code of " << Hex(code);
      if (preferred != code) ++duplicates;

      EXPECT_EQ(LcMap(LCMAP_KATAKANA, bytes), CodeBytes(cp932::PreferredCode(cp932::HiraganaToKatakana(code))))
          << "katakana of " << Hex(code);

      const int ours = OneByte(cp932::HalfWidthForm(code));
      const int platform = OneByte(LcMap(LCMAP_HALFWIDTH, bytes));
      if (const HalfWidthDifference* difference = FindHalfWidthDifference(code)) {
        differencesSeen.push_back(code);
        EXPECT_EQ(ours, difference->ours) << "half-width of " << Hex(code) << ", ours (" << difference->why << ")";
        EXPECT_EQ(platform, difference->platform)
            << "half-width of " << Hex(code) << ", platform (" << difference->why << ")";
      } else {
        EXPECT_EQ(ours, platform) << "half-width of " << Hex(code);
      }
    }
  }
  EXPECT_EQ(differencesSeen.size(), std::size(kHalfWidthDifferences)) << "every listed difference was compared";
  EXPECT_GT(compared, 9000) << "code page 932 has over 9000 two-byte characters";
  EXPECT_GT(duplicates, 390) << "NEC's selection alone repeats 374 codes";
  ::testing::Test::RecordProperty("compared", compared);
  std::printf("[   INFO   ] %d two-byte characters compared (%d of them duplicates), %d known half-width "
              "differences\n",
              compared, duplicates, static_cast<int>(differencesSeen.size()));
}

// ---------------------------------------------------------------------------
// Library order

int Sign(int value) { return (value > 0) - (value < 0); }

int PlatformCompare(const std::string& a, const std::string& b) {
  return CompareStringA(kJapanese, 0, a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

// Characters the library order places otherwise than the platform, and why.
// Each is rare in a file name, and where the platform puts it follows no rule
// we could state short of copying its table.
struct KeptOrderDifference {
  std::uint16_t first, last;  // codes, or single bytes
  const char* why;
};

constexpr KeptOrderDifference kKeptOrderDifferences[] = {
    {0x875F, 0x878F, "NEC's unit signs, abbreviations and era names (㍉, ㎝, №, ㈱, ㍻): the platform sorts each near "
                     "what it abbreviates; we sort them as symbols, by code"},
    {0x818E, 0x818E, "℃: the platform sorts it as C"},
    {0x81F0, 0x81F0, "Å (angstrom sign): the platform sorts it as A"},
    {0x815A, 0x815A, "〇: the platform sorts it as 0"},
    {0x815C, 0x815C, "― alone: the platform sorts it equal to ー alone"},
};

const KeptOrderDifference* FindKeptOrderDifference(const std::string& name) {
  for (std::size_t pos = 0; pos < name.size(); pos = cp932::NextChar(name, pos)) {
    const std::uint16_t twoBytes = cp932::DoubleByteCodeAt(name, pos);
    const std::uint16_t code = twoBytes ? cp932::PreferredCode(twoBytes) : static_cast<unsigned char>(name[pos]);
    for (const KeptOrderDifference& kept : kKeptOrderDifferences) {
      if (code >= kept.first && code <= kept.last) return &kept;
    }
  }
  return nullptr;
}

const KeptOrderDifference* FindKeptOrderDifference(const std::string& a, const std::string& b) {
  const KeptOrderDifference* kept = FindKeptOrderDifference(a);
  return kept ? kept : FindKeptOrderDifference(b);
}

// Every character of code page 932 in the platform's order: ours must find
// each next to the one before it in the same relation (before or equal).
TEST(PlatformAgreementTest, LibraryOrderOfEveryCharacter) {
  std::vector<std::string> characters;
  for (int byte = 0x20; byte < 0x7F; ++byte) characters.emplace_back(1, static_cast<char>(byte));
  for (int byte = 0xA1; byte < 0xE0; ++byte) characters.emplace_back(1, static_cast<char>(byte));
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string bytes = CodeBytes(static_cast<std::uint16_t>(lead << 8 | trail));
      if (trail != 0x7F && !PlatformWide(bytes).empty()) characters.push_back(bytes);
    }
  }
  std::stable_sort(characters.begin(), characters.end(),
                   [](const std::string& a, const std::string& b) { return PlatformCompare(a, b) < 0; });
  int kept = 0;
  std::vector<const KeptOrderDifference*> keptSeen;
  for (std::size_t i = 1; i < characters.size(); ++i) {
    const std::string& a = characters[i - 1];
    const std::string& b = characters[i];
    if (Sign(CompareLibraryNames(a, b)) == Sign(PlatformCompare(a, b))) continue;
    if (const KeptOrderDifference* difference = FindKeptOrderDifference(a, b)) {
      ++kept;
      if (std::find(keptSeen.begin(), keptSeen.end(), difference) == keptSeen.end()) keptSeen.push_back(difference);
    } else {
      ADD_FAILURE() << "\"" << a << "\" then \"" << b << "\": ours " << CompareLibraryNames(a, b);
    }
  }
  EXPECT_EQ(keptSeen.size(), std::size(kKeptOrderDifferences)) << "every kept difference still differs";
  for (const KeptOrderDifference* difference : keptSeen) std::printf("[   INFO   ] kept: %s\n", difference->why);
  std::printf("[   INFO   ] %d characters in the platform's order, %d neighbours placed otherwise (kept)\n",
              static_cast<int>(characters.size()), kept);
}

TEST(PlatformAgreementTest, LibraryOrderOfJapaneseNames) {
  std::vector<std::string> names = {
      "あ", "ア", "ｱ", "ぁ", "ァ", "ｧ", "あい", "アイ", "ああ", "あー", "アー", "ｱｰ", "あいう", "い", "いー", "う",
      "ヴ", "う゛", "え", "お", "おおきい", "オーケー", "か", "カ", "ｶ", "が", "ガ", "ｶﾞ", "か゛", "ヵ", "かか",
      "かゝ", "かゞ", "かが", "がか", "き", "きゃ", "きや", "キャ", "きゃー", "ぎゃ", "く", "け", "ヶ", "こ",
      "ご", "さ", "ざ", "し", "じ", "しゅう", "じゅう", "す", "せ", "そ", "ぞ", "た", "だ", "ち", "ぢ", "つ",
      "っ", "ッ", "づ", "て", "で", "と", "ど", "な", "に", "ぬ", "ね", "の", "は", "ば", "ぱ", "ﾊﾟ", "は゜",
      "ひ", "び", "ぴ", "ふ", "ぶ", "ぷ", "へ", "べ", "ぺ", "ほ", "ぼ", "ぽ", "ま", "み", "む", "め", "も",
      "や", "ゃ", "ゆ", "ゅ", "よ", "ょ", "ら", "り", "る", "れ", "ろ", "わ", "ゎ", "ワ", "ゐ", "ヰ", "ゑ",
      "を", "ヲ", "ｦ", "ん", "ン", "ﾝ", "んー", "ー", "ゝ", "々", "ひらがな", "カタカナ", "ｶﾀｶﾅ", "漢字",
      "亜", "唖", "日本", "日本語", "単語", "練習", "練習1", "練習２", "基本", "上級", "中級", "初級", "纊",
      "\xED\x40", "0", "1", "9", "10", "2", "０", "１", "a", "A", "b", "B", "z", "Z", "ａ", "Ａ", "ab", "aB",
      "Ab", "abc", "a-c", "ac", "a'c", "coop", "co-op", "it's", "its", "α", "Α", "β", " ", "　", "!", "！",
      "#", "(", ")", "（", ".", "。", "｡", "、", "､", "/", "_", "[", "]", "「", "」", "｢", "・", "･", "※",
      "\\", "￥", "＼", "+", "=", "~", "～", "○", "★", "①", "⑩", "Ⅰ", "ⅰ", "∞", "㈱", "株式会社", "Ж", "ж",
      "ひらがな練習", "カタカナ練習",
      "ﾋﾗｶﾞﾅ", "Kanji", "kanji", "KANJI", "01_あいさつ", "02_かいもの", "10_りょこう", "2_でんしゃ",
      "あいさつ", "アイサツ", "あいさつ2", "あいさつ１", "あいさつ(1)", "./data/", "./data/基本", "./data/a",
      "./data/ア", "./data/あ/x.ini", "./data/あ.ini",
  };
  int pairs = 0;
  int agreements = 0;
  int kept = 0;
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      ++pairs;
      const int ours = Sign(CompareLibraryNames(a, b));
      const int platform = Sign(PlatformCompare(a, b));
      if (ours == platform) {
        ++agreements;
      } else if (FindKeptOrderDifference(a, b) != nullptr) {
        ++kept;
      } else {
        ADD_FAILURE() << "\"" << a << "\" vs \"" << b << "\": ours " << ours << ", platform " << platform;
      }
    }
  }
  std::printf("[   INFO   ] %d names, %d pairs, %d agree with CompareStringA, %d kept differences\n",
              static_cast<int>(names.size()), pairs, agreements, kept);
}

// Names of one to four characters drawn from a pool that mixes every kind of
// character whose place depends on its neighbours: kana marks, repeats,
// small, voiced and half-width kana, letters by case and width, hyphens.
TEST(PlatformAgreementTest, LibraryOrderOfMixedNames) {
  const std::vector<std::string> pool = {
      "あ", "ア", "ｱ", "ぁ", "ァ", "か", "が", "カ", "ガ", "ｶ", "ﾞ", "ﾟ", "゛", "゜", "ー", "ｰ", "ゝ", "ゞ", "ヽ", "ヾ",
      "々", "ゃ", "や", "ャ", "ｬ", "っ", "つ", "ッ", "ん", "ン", "ぱ", "ヴ", "a", "A", "ａ", "Ａ", "1", "１", "①",
      "-", "－", "'", "＇", " ", "　", ".", "。", "_", "漢", "字", "b", "B", "0", "ゎ", "ヵ", "ヶ"};
  std::mt19937 random(11);
  const auto name = [&] {
    std::string text;
    for (std::uint32_t length = 1 + random() % 4; length > 0; --length) text += pool[random() % pool.size()];
    return text;
  };
  constexpr int kPairs = 20000;
  int agreements = 0;
  for (int i = 0; i < kPairs; ++i) {
    std::string a = name();
    // Every other pair shares its start, so the later levels decide.
    std::string b = i % 2 ? a + pool[random() % pool.size()] : name();
    const int ours = Sign(CompareLibraryNames(a, b));
    const int platform = Sign(PlatformCompare(a, b));
    if (ours == platform) {
      ++agreements;
    } else {
      ADD_FAILURE() << "\"" << a << "\" vs \"" << b << "\": ours " << ours << ", platform " << platform;
    }
  }
  std::printf("[   INFO   ] %d mixed pairs, %d agree with CompareStringA\n", kPairs, agreements);
}

// ---------------------------------------------------------------------------
// Private-profile files

// What the program's value reader does: a buffer of 255 bytes, a full path
// (a bare file name would be looked for in the Windows folder), and the value
// taken as the zero-terminated text in the buffer. The returned length is not
// used: when a two-byte character does not fit, Wine under code page 932
// stops before it but still returns 254.
std::string PlatformRead(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& defaultValue) {
  char buffer[255] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, sizeof buffer,
                           path.c_str());
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

bool PlatformWrite(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

// Rows whose result depends on the code page: the A functions read names and
// values through the process's ANSI code page. Under another code page (Wine
// runs with 1252 unless started in a Japanese locale) a two-byte character is
// two separate characters, so its trail byte may fold with an ASCII letter or
// close a section. Those rows are compared with the platform only under code
// page 932, and otherwise with what Windows with code page 932 gives (Wine in
// a Japanese locale gives the same).
bool AnsiCodePageIs932() { return GetACP() == kCodePage932; }

struct ReadRow {
  const char* name;
  std::optional<std::string> file;  // nullopt: no file
  std::string section;
  std::string key;
  std::string defaultValue;
  std::optional<std::string> windows932;  // set for rows that depend on code page 932
};

// ---------------------------------------------------------------------------
// Device names: the checker's list against the platform's own answer, the
// device path that GetFullPathNameW gives for a name it keeps for a device.

TEST(PlatformAgreementTest, DeviceNamesAsThePlatformKeepsThem) {
  const char* const names[] = {"COM1", "COM1.ini", "com9.txt", "aux.ini", "con.txt", "con .txt", "CON.", "nul:",
                               "lpt9.x.y", "x/prn", "data\\COM1.ini", "conin$", "CONOUT$.log", "COM0", "com10.ini",
                               "LPT", "console.ini", "x.con", "comA.ini", "ソ\\con.ini", "表aux", "c:con", ".ini"};
  for (const char* name : names) {
    const std::wstring wide = Cp932ToWide(name);
    wchar_t full[1024] = {};
    const DWORD length = GetFullPathNameW(wide.c_str(), 1024, full, nullptr);
    ASSERT_GT(length, 0u) << name;
    const bool platform = std::wstring_view(full, length).substr(0, 4) == L"\\\\.\\";
    EXPECT_EQ(check::WindowsDeviceName(name).has_value(), platform) << name << " (" << WideToCp932(full) << ")";
  }
}

TEST(PlatformAgreementTest, ProfileValuesReadAsTheyDo) {
  const std::string x254(254, 'x');
  const std::string x300(300, 'x');
  const std::string a127 = [] {
    std::string text;
    for (int i = 0; i < 127; ++i) text += "あ";
    return text;
  }();
  const std::string duplicates = "[S]\r\nA=1\r\n[T]\r\nB=2\r\n[s]\r\nA=3\r\nC=4\r\n";
  const ReadRow rows[] = {
      {"section and key in other case", "[Setting]\r\nShowKeyboard=0\r\n", "SETTING", "showkeyboard", "d", {}},
      {"file in mixed case", "[sEtTiNg]\r\nSHOWKEYBOARD=0\r\n", "Setting", "ShowKeyboard", "d", {}},
      {"longer key", "[Setting]\r\nShowKeyboardX=0\r\n", "Setting", "ShowKeyboard", "d", {}},
      {"blanks around everything", "  [Setting]\t \r\n \tA \t= \t1 \t\r\n", "Setting", "A", "d", {}},
      {"blanks inside the brackets", "[ Setting\t]\r\nA=1\r\n", "Setting", "A", "d", {}},
      {"blanks inside a value", "[S]\r\nA =  one  two  \r\n", "S", "A", "d", {}},
      {"blanks around the asked names", "[S]\r\nA=1\r\n", " S\t", "\tA ", "d", {}},
      {"double quotes", "[S]\r\nA=\"abc\"\r\n", "S", "A", "d", {}},
      {"single quotes", "[S]\r\nA='abc'\r\n", "S", "A", "d", {}},
      {"blanks inside quotes", "[S]\r\nA= \"  a b  \" \r\n", "S", "A", "d", {}},
      {"two pairs of quotes", "[S]\r\nA=\"\"abc\"\"\r\n", "S", "A", "d", {}},
      {"quotes around nothing", "[S]\r\nA=\"\"\r\n", "S", "A", "d", {}},
      {"quotes that do not match", "[S]\r\nA=\"abc'\r\n", "S", "A", "d", {}},
      {"opening quote only", "[S]\r\nA=\"abc\r\n", "S", "A", "d", {}},
      {"one quote alone", "[S]\r\nA=\"\r\n", "S", "A", "d", {}},
      {"first of duplicate sections", duplicates, "S", "A", "d", {}},
      {"key only in the second duplicate section", duplicates, "S", "C", "d", {}},
      {"duplicate keys", "[S]\r\na=1\r\nA=2\r\n", "S", "A", "d", {}},
      {"key before any section", "A=1\r\n[S]\r\nB=2\r\n", "S", "A", "d", {}},
      {"line without equals sign", "[S]\r\nA\r\nB=2\r\n", "S", "A", "d", {}},
      {"key after a line without equals sign", "[S]\r\nA\r\nB=2\r\n", "S", "B", "d", {}},
      {"comment line", "[S]\r\n;A=1\r\n", "S", "A", "d", {}},
      {"empty value", "[S]\r\nA=\r\n", "S", "A", "d", {}},
      {"value of blanks", "[S]\r\nA=  \t \r\n", "S", "A", "d", {}},
      {"absent key", "[S]\r\nA=1\r\n", "S", "B", "dflt", {}},
      {"absent section", "[S]\r\nA=1\r\n", "T", "A", "dflt", {}},
      {"empty file", "", "S", "A", "dflt", {}},
      {"missing file", std::nullopt, "S", "A", "dflt", {}},
      {"default with trailing blanks", "[S]\r\n", "S", "A", "one two   ", {}},
      {"default with leading blanks", "[S]\r\n", "S", "A", "  dflt", {}},
      {"empty default", "[S]\r\n", "S", "A", "", {}},
      {"long default", "[S]\r\n", "S", "A", x300, {}},
      {"254 bytes", "[S]\r\nA=" + x254 + "\r\n", "S", "A", "d", {}},
      {"255 bytes", "[S]\r\nA=" + x254 + "y\r\n", "S", "A", "d", {}},
      {"300 bytes", "[S]\r\nA=" + x300 + "\r\n", "S", "A", "d", {}},
      {"300 bytes in quotes", "[S]\r\nA=\"" + x300 + "\"\r\n", "S", "A", "d", {}},
      {"LF", "[S]\nA=1\nB=2\n", "S", "B", "d", {}},
      {"CR alone", "[S]\rA=1\rB=2\r", "S", "B", "d", {}},
      {"no final line break", "[S]\r\nA=1\r\nB=2", "S", "B", "d", {}},
      {"empty lines", "\r\n\r\n[S]\r\n\r\nA=1\r\n\r\n", "S", "A", "d", {}},
      {"end-of-file mark", "[S]\r\nA=1\x1A", "S", "A", "d", {}},
      {"text after the closing bracket", "[S] ; note\r\nA=1\r\n", "S", "A", "d", {}},
      {"closing bracket inside the name", "[S]x]\r\nA=1\r\n", "S]x", "A", "d", {}},
      {"no closing bracket", "[S]\r\nA=1\r\n[T\r\nA=2\r\n", "T", "A", "d", {}},
      {"no closing bracket, the section before", "[S]\r\n[T\r\nA=2\r\n", "S", "A", "d", {}},
      {"Japanese names and value", "[設定]\r\nキー=値です\r\n", "設定", "キー", "d", {}},
      {"trail byte 0x5C in the value", "[S]\r\nA=表示ソフト\r\n", "S", "A", "d", {}},
      {"127 two-byte characters", "[S]\r\nA=" + a127 + "\r\n", "S", "A", "d", {}},
      {"128 two-byte characters", "[S]\r\nA=" + a127 + "あ\r\n", "S", "A", "d", {}},
      // ア is 0x83 0x41 and ヂ 0x83 0x61: their trail bytes are A and a.
      {"trail byte A is not a", "[S]\r\nア=1\r\n", "S", "ヂ", "d", std::string("d")},
      {"trail byte a is not A", "[S]\r\nヂ=1\r\n", "S", "ア", "d", std::string("d")},
      {"section with trail byte A", "[ア]\r\nK=1\r\n", "ヂ", "K", "d", std::string("d")},
      // ゾ is 0x83 0x5D: its trail byte is "]".
      {"trail byte ] after the section", "[S] ゾ\r\nA=1\r\n", "S", "A", "d", std::string("1")},
      {"cut before a split character", "[S]\r\nA=x" + a127 + "\r\n", "S", "A", "d",
       "x" + a127.substr(0, 252)},
  };
  const bool codePage932 = AnsiCodePageIs932();
  int compared = 0;
  for (const ReadRow& row : rows) {
    TempFolder temp;
    const std::string path = row.file ? temp.Write("profile.ini", *row.file) : temp.path() + "/missing.ini";
    const std::string ours = ReadProfileValue(path, row.section, row.key, row.defaultValue);
    EXPECT_EQ(ours, ProfileText(row.file.value_or("")).GetString(row.section, row.key, row.defaultValue))
        << "row: " << row.name;
    if (row.windows932 && !codePage932) {
      EXPECT_EQ(ours, *row.windows932) << "row: " << row.name << " (as Windows with code page 932 reads it)";
      continue;
    }
    EXPECT_EQ(ours, PlatformRead(path, row.section, row.key, row.defaultValue)) << "row: " << row.name;
    ++compared;
  }
  std::printf("[   INFO   ] %d of %d rows compared with GetPrivateProfileStringA (ANSI code page %u)\n", compared,
              static_cast<int>(std::size(rows)), GetACP());
}

// A change made by both writers to two copies of one file. Both files are
// then read back through the platform's reader; where Wine keeps the file's
// layout the bytes are compared too. Wine's writer rewrites the whole file
// from what it parsed: every line break becomes CR LF, empty lines go, a
// section line keeps only its name and a value loses its leading blanks.
// Windows edits the file in place, changing the key's line or adding one and
// leaving every other line as it was, which is what ours does; so for files
// that Wine would lay out anew only what the files say is compared.
struct WriteRow {
  const char* name;
  std::optional<std::string> before;  // nullopt: no file yet
  std::string section;
  std::string key;
  std::string value;
  std::vector<std::pair<std::string, std::string>> readBack;  // section and key of every value to compare
  bool sameBytes;
  std::optional<std::string> windows932 = std::nullopt;  // the file after, for rows that depend on code page 932
};

TEST(PlatformAgreementTest, ProfileValuesWrittenAsTheyDo) {
  const std::string v300(300, 'v');
  const WriteRow rows[] = {
      {"new file", std::nullopt, "Setting", "ShowKeyboard", "1", {{"Setting", "ShowKeyboard"}}, true},
      {"empty file", "", "Setting", "ShowKeyboard", "1", {{"Setting", "ShowKeyboard"}}, true},
      {"value replaced", "[S]\r\nA=1\r\nB=2\r\n", "S", "A", "9", {{"S", "A"}, {"S", "B"}}, true},
      {"names in other case", "[Setting]\r\nShowKeyboard=1\r\n", "SETTING", "showkeyboard", "0",
       {{"Setting", "ShowKeyboard"}}, true},
      {"key added to its section", "[S]\r\nA=1\r\n[T]\r\nB=2\r\n", "S", "C", "3",
       {{"S", "A"}, {"S", "C"}, {"T", "B"}, {"T", "C"}}, true},
      {"section added", "[S]\r\nA=1\r\n", "T", "B", "2", {{"S", "A"}, {"T", "B"}}, true},
      {"empty value", "[S]\r\nA=1\r\n", "S", "A", "", {{"S", "A"}}, true},
      {"long value", "[S]\r\nA=1\r\n", "S", "A", v300, {{"S", "A"}}, true},
      {"no final line break", "[S]\r\nA=1", "S", "B", "2", {{"S", "A"}, {"S", "B"}}, true},
      {"first of duplicate sections", "[S]\r\nA=1\r\n[T]\r\nB=2\r\n[S]\r\nC=3\r\n", "S", "C", "9",
       {{"S", "A"}, {"S", "C"}, {"T", "B"}}, true},
      {"first of duplicate keys", "[S]\r\nA=1\r\nA=2\r\n", "S", "A", "9", {{"S", "A"}}, true},
      {"line without equals sign", "[S]\r\nA\r\nB=2\r\n", "S", "A", "9", {{"S", "A"}, {"S", "B"}}, true},
      {"quoted value", "[S]\r\nA=\"x\"\r\n", "S", "A", "\"y\"", {{"S", "A"}}, true},
      {"blanks around the old line", "[S]\r\n  A = 1  \r\n", "S", "A", "9", {{"S", "A"}}, true},
      {"comment kept", "; note\r\n[S]\r\nA=1\r\n", "S", "A", "9", {{"S", "A"}}, true},
      {"Japanese names and value", "[設定]\r\nキー=値\r\n", "設定", "キー", "表示ソフト", {{"設定", "キー"}}, true},
      // Wine rewrites these files' layout (see above); Windows and ours keep it.
      {"LF file", "[S]\nA=1\n", "S", "B", "2", {{"S", "A"}, {"S", "B"}}, false},
      {"empty line between sections", "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n", "S", "C", "3",
       {{"S", "A"}, {"S", "C"}, {"T", "B"}}, false},
      {"text after the closing bracket", "[S] ; note\r\nA=1\r\n", "S", "B", "2", {{"S", "A"}, {"S", "B"}}, false},
      {"value with leading blanks", "[S]\r\nA=1\r\n", "S", "A", "  v", {{"S", "A"}}, false},
      // ア (0x83 0x41) is another key than ヂ (0x83 0x61).
      {"trail byte A is not a", "[S]\r\nヂ=1\r\n", "S", "ア", "2", {{"S", "ア"}, {"S", "ヂ"}}, true,
       std::string("[S]\r\nヂ=1\r\nア=2\r\n")},
  };
  const bool codePage932 = AnsiCodePageIs932();
  for (const WriteRow& row : rows) {
    TempFolder temp;
    if (row.windows932 && !codePage932) {
      const std::string path = temp.Write("ours.ini", row.before.value_or(""));
      EXPECT_TRUE(WriteProfileValue(path, row.section, row.key, row.value)) << "row: " << row.name;
      EXPECT_EQ(temp.Read("ours.ini"), *row.windows932)
          << "row: " << row.name << " (as Windows with code page 932 writes it)";
      continue;
    }
    const std::string platformPath =
        row.before ? temp.Write("platform.ini", *row.before) : temp.path() + "/platform.ini";
    const std::string oursPath = row.before ? temp.Write("ours.ini", *row.before) : temp.path() + "/ours.ini";

    EXPECT_TRUE(PlatformWrite(platformPath, row.section, row.key, row.value)) << "row: " << row.name;
    EXPECT_TRUE(WriteProfileValue(oursPath, row.section, row.key, row.value)) << "row: " << row.name;

    for (const auto& [section, key] : row.readBack) {
      EXPECT_EQ(PlatformRead(oursPath, section, key, "<absent>"), PlatformRead(platformPath, section, key, "<absent>"))
          << "row: " << row.name << ", reading " << section << "/" << key;
    }
    if (row.sameBytes) {
      EXPECT_EQ(temp.Read("ours.ini"), temp.Read("platform.ini")) << "row: " << row.name;
    }
  }
}

}  // namespace
}  // namespace kanaflow
