// The interface reader: every message case, the captions it hands back, the end marker it
// appends, and that a user's file is never shortened or rewritten.
#include "iface/interface_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::TempFolder;

// "caption|text" of each message, as the user sees them.
const std::string kNoEnd = "注意|界面文本内未发现结束符, 程序自动在最后写入了结束符 '#' !";
const std::string kEquals =
    "错误|自定义界面文本内缺少 = 或者 =位置出错 \n所以程序仍然使用内置界面！！";
const std::string kEmpty = "错误|发现自定义界面文本内有控件缺少内容指定!\n所以仍然使用内置界面！";
const std::string kSemicolon = "错误|出错：自定义界面文本内缺少 ； ！\n所以仍然使用内置界面！";
const std::string kNonDigit = "错误| '='  之前的内容非数字字符，出错，仍然使用内置界面!";
const std::string kBadNumber =
    "错误|界面文本内编号有错误，无法确定\n窗口位置！程序仍然使用内置界面！";
const std::string kRange = "错误|界面文本内数字大于界面窗口个数，\n程序无法定位，仍然使用内置界面!";
const std::string kTooMany = "错误|界面文本内的条目超过100条，\n程序仍然使用内置界面！";
const std::string kTooLong = "错误|界面文本内有编号或内容超过49个字节，\n程序仍然使用内置界面！";

using Captions = std::map<int, std::string>;

struct FileCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> messages;
  bool applied;
  Captions captions;
  int relabelCount = 18;
};

std::string repeat(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

const FileCase kFiles[] = {
    // End marker.
    {"EmptyFileGetsMarkerAndIsOff", "", {kNoEnd}, false, {}},
    {"EntriesWithoutMarkerAreApplied",
     "1=VacMin(V);\r\n3=Vo(V);",
     {kNoEnd},
     true,
     {{1, "VacMin(V)"}, {3, "Vo(V)"}}},
    {"BlanksAndBreaksThenMarker", " \r\n  \n\r#", {}, true, {}},
    {"SwitchedOff", "#1=a;", {}, false, {}},
    {"MarkerInsideCaptionCountsAsPresent", "1=a#", {kSemicolon}, false, {}},
    {"AnythingAfterMarkerIgnored", "1=a;#2==;;\n", {}, true, {{1, "a"}}},
    {"EntryDirectlyAfterSemicolon", "1=a;2=b;#", {}, true, {{1, "a"}, {2, "b"}}},
    // Numbers.
    {"LeadingZero", "05=x;#", {}, true, {{5, "x"}}},
    {"BlankBeforeEquals", "5 =x;#", {}, true, {{5, "x"}}},
    {"LetterInNumber", "5a=x;#", {kNonDigit}, false, {}},
    {"ThreeDigits", "123=x;#", {kBadNumber}, false, {}},
    {"DigitAsThirdByte", "1 2=x;#", {kBadNumber}, false, {}},
    {"TwoBlanksThenDigit", "1  2=x;#", {}, true, {{1, "x"}}},
    {"Zero", "0=x;#", {kRange}, false, {}},
    {"AboveN", "19=x;#", {kRange}, false, {}},
    {"ExactlyN", "18=x;#", {}, true, {{18, "x"}}},
    {"NDependsOnWindow", "19=x;#", {}, true, {{19, "x"}}, 19},
    {"TabBeforeNumber", "\t1=x;#", {kNonDigit}, false, {}},
    {"EveryNonDigitReported", "1=a;\t2=b;\nx=c;#", {kNonDigit, kNonDigit}, false, {}},
    {"NonDigitPassComesFirst", "123=x;a=y;#", {kNonDigit}, false, {}},
    {"FirstBadNumberEndsChecks", "123=x;0=y;#", {kBadNumber}, false, {}},
    {"RangeAfterGoodEntry", "1=a;0=b;#", {kRange}, false, {}},
    {"StraySemicolonJoinsNextNumber", "1=a;;2=b;#", {kNonDigit}, false, {}},
    // Equals sign.
    {"EntryStartsWithEquals", "=x;#", {kEquals}, false, {}},
    {"LineBreakBeforeEquals", "3x\n=y;#", {kEquals}, false, {}},
    {"CarriageReturnBeforeEquals", "1\r=x;#", {kEquals}, false, {}},
    {"MarkerBeforeEquals", "12#=x;", {kEquals}, false, {}},
    {"FirstErrorEndsParsing", "=x;=y;#", {kEquals}, false, {}},
    // Captions.
    {"MissingSemicolonAtLineBreak", "3=abc\n#", {kSemicolon}, false, {}},
    {"EmptyCaptionShowsTwoMessages", "3=;#", {kEmpty, kSemicolon}, false, {}},
    {"EmptyCaptionAtLineBreak", "3=\n;#", {kEmpty, kSemicolon}, false, {}},
    {"EmptyCaptionAtMarker", "3=#", {kSemicolon}, false, {}},
    {"BlanksAroundCaptionKept", "3= abc ;#", {}, true, {{3, " abc "}}},
    {"CarriageReturnInsideCaption", "1=a\rb;#", {}, true, {{1, "a\rb"}}},
    {"LaterDuplicateWins", "3=a;\n3=b;#", {}, true, {{3, "b"}}},
    {"FullWidthSemicolonIsCaptionText", "3=a；b;#", {}, true, {{3, "a；b"}}},
    // Decoding.
    {"GbkCaption", "4=\xCA\xE4\xB3\xF6\xB5\xE7\xD1\xB9(V);#", {}, true, {{4, "输出电压(V)"}}},
    {"Utf8File", "4=输出电压(V);\n#", {}, true, {{4, "输出电压(V)"}}},
    // The first caption alone is valid UTF-8, but the file as a whole is GBK.
    {"EncodingDecidedPerFile", "1=\xC3\xA9;2=\xCA\xE4;#", {}, true, {{1, "茅"}, {2, "输"}}},
    {"InvalidGbkReplaced",
     "1=a\xFF"
     "b\xA1 c;#",
     {},
     true,
     {{1, "a\uFFFDb\uFFFD c"}}},
    {"LoneLeadByteAtCaptionEnd", "1=\xCA;#", {}, true, {{1, "\uFFFD"}}},
    // A UTF-8 byte-order mark is skipped and makes the captions UTF-8 (the bad byte is not
    // taken for the start of a GBK pair).
    {"ByteOrderMarkSkipped",
     "\xEF\xBB\xBF"
     "1=a;#",
     {},
     true,
     {{1, "a"}}},
    {"ByteOrderMarkThenMarkerIsOff", "\xEF\xBB\xBF#1=a;", {}, false, {}},
    {"ByteOrderMarkMeansUtf8",
     "\xEF\xBB\xBF"
     "1=\xC3\xA9\xFF;#",
     {},
     true,
     {{1, "é\uFFFD"}}},
    // Limits.
    {"HundredEntries", repeat("1=a;", 100) + "#", {}, true, {{1, "a"}}},
    {"HundredAndOneEntries", repeat("1=a;", 101) + "#", {kTooMany}, false, {}},
    {"NumberOf49Bytes", "1" + std::string(48, ' ') + "=a;#", {}, true, {{1, "a"}}},
    {"NumberOf50Bytes", "1" + std::string(49, ' ') + "=a;#", {kTooLong}, false, {}},
    {"CaptionOf49Bytes", "2=" + std::string(49, 'c') + ";#", {}, true, {{2, std::string(49, 'c')}}},
    {"CaptionOf50Bytes", "2=" + std::string(50, 'c') + ";#", {kTooLong}, false, {}},
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << c.name;
}

class InterfaceFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(InterfaceFileTest, MessagesCaptionsAndFileBytes) {
  const FileCase& c = GetParam();
  TempFolder dir;
  dir.write("Test Interface.txt", c.bytes);
  RecordingHost host;

  const auto result = applyInterfaceFile(dir.folder(), "Test Interface.txt", c.relabelCount, host);

  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(host.summary(), c.messages);
  EXPECT_EQ(result->applied, c.applied);
  EXPECT_EQ(result->captions, c.captions);
  for (const Message& m : host.messages) {
    EXPECT_FALSE(m.owned);
    EXPECT_EQ(m.icon, m.caption == "注意" ? Icon::Warning : Icon::Error);
  }
  // The file is never shortened or rewritten: at most the end marker is appended.
  const bool hadMarker = c.bytes.find('#') != std::string::npos;
  EXPECT_EQ(dir.read("Test Interface.txt"), hadMarker ? c.bytes : c.bytes + "#");
}

INSTANTIATE_TEST_SUITE_P(Files, InterfaceFileTest, ::testing::ValuesIn(kFiles),
                         [](const ::testing::TestParamInfo<FileCase>& param) {
                           return std::string(param.param.name);
                         });

TEST(InterfaceFile, MissingFileIsCreatedWithItsMarker) {
  TempFolder dir;
  RecordingHost host;
  EXPECT_FALSE(applyInterfaceFile(dir.folder(), "RCC Interface.txt", 25, host)->applied);
  EXPECT_EQ(dir.read("RCC Interface.txt"), "#");
}

TEST(InterfaceFile, UnopenableFileIsReportedOnceAndGivesNothing) {
  TempFolder dir;
  dir.write("plain", "x");
  const Folder below(dir.path("plain"));  // a folder below a regular file: ENOTDIR
  RecordingHost host;
  EXPECT_FALSE(applyInterfaceFile(below, "DC-DC Interface.txt", 27, host).has_value());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, kProgramName);
  EXPECT_EQ(host.messages[0].icon, Icon::Warning);
  EXPECT_NE(host.messages[0].text.find("DC-DC Interface.txt"), std::string::npos);
}

TEST(InterfaceFile, EndMarkerThatCannotBeWrittenIsNotReportedAsWritten) {
  TempFolder dir;
  dir.write("B.txt", "1=a;");
  RecordingHost host;
  // A file-size limit of the current length makes the append fail (EFBIG).
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto result = applyInterfaceFile(dir.folder(), "B.txt", 18, host);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);

  ASSERT_TRUE(result.has_value());
  EXPECT_FALSE(result->applied);
  EXPECT_EQ(host.summary(),
            std::vector<std::string>{
                "错误|界面文本内未发现结束符，且无法写入结束符 '#'，\n程序仍然使用内置界面！"});
  EXPECT_EQ(dir.read("B.txt"), "1=a;");
}

TEST(InterfaceFile, TextBeyondTheLimitIsRefusedAndNothingAppended) {
  TempFolder dir;
  const std::string blanks(kMaxTextBytes + 1, ' ');
  dir.write("C.txt", blanks);
  RecordingHost host;
  const auto result = applyInterfaceFile(dir.folder(), "C.txt", 18, host);
  ASSERT_TRUE(result.has_value());
  EXPECT_FALSE(result->applied);
  EXPECT_EQ(host.summary(),
            std::vector<std::string>{"Tarnex|文件“C.txt”在结束符 '#' 之前的内容超过 "
                                     "1 MB，不像是手写的文本，程序不读取它。"});
  EXPECT_EQ(dir.read("C.txt").size(), blanks.size());
}

TEST(InterfaceFile, MessageTableHoldsEveryTextShown) {
  std::vector<std::string> known;
  for (const Message& m : interfaceFileMessages()) known.push_back(m.caption + "|" + m.text);
  for (const std::string& s :
       {kNoEnd, kEquals, kEmpty, kSemicolon, kNonDigit, kBadNumber, kRange, kTooMany, kTooLong})
    EXPECT_NE(std::find(known.begin(), known.end(), s), known.end()) << s;
}

struct Utf8Case {
  std::string bytes;
  bool utf8File;
};

void PrintTo(const Utf8Case& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.bytes);
}

class Utf8FileTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8FileTest, DecidesTheEncoding) {
  EXPECT_EQ(isUtf8File(GetParam().bytes), GetParam().utf8File);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8FileTest,
                         ::testing::Values(Utf8Case{"", false}, Utf8Case{"1=abc;#", false},
                                           Utf8Case{"1=电压;#", true},
                                           Utf8Case{"1=\xF0\x9F\x98\x80;#", true},
                                           Utf8Case{"\xC0\x80", false},            // overlong NUL
                                           Utf8Case{"\xE0\x80\xAF", false},        // overlong '/'
                                           Utf8Case{"\xED\xA0\x80", false},        // surrogate
                                           Utf8Case{"\xF4\x90\x80\x80", false},    // above U+10FFFF
                                           Utf8Case{"\xE7\x94", false},            // cut short
                                           Utf8Case{"\xCA\xE4\xB3\xF6", false}));  // GBK

}  // namespace
}  // namespace tarnex
