// The interface-file reader. A file is a list of entries "number=caption;" ended by '#':
//
//   1=VacMin(V);
//   3=Vo(V);
//   #
//
// The reader makes sure the file holds an end marker and reads the text before it; then it
// parses the entries with a small state machine, checks the numbers, and only when every
// entry is sound hands back the captions. The first parse error ends the reading;
// every message is one row of the message table.
#include "iface/interface_file.h"

#include <cerrno>
#include <vector>

#include "base/text_codec.h"

namespace tarnex {

namespace {

// Limits of the reader's tables: entries per file, and bytes per number or caption text.
constexpr std::size_t kMaxEntries = 100;
constexpr std::size_t kMaxTextBytes = 49;

enum class Msg {
  NoEndMarker,
  MissingEquals,
  EmptyCaption,
  MissingSemicolon,
  NonDigit,
  BadNumber,
  OutOfRange,
  TooManyEntries,
  TextTooLong,
  EndMarkerNotWritten,
};

// Indexed by Msg.
const Message kMessages[] = {
    {"注意", "界面文本内未发现结束符, 程序自动在最后写入了结束符 '#' !", Icon::Warning, false},
    {"错误", "自定义界面文本内缺少 = 或者 =位置出错 \n所以程序仍然使用内置界面！！", Icon::Error,
     false},
    {"错误", "发现自定义界面文本内有控件缺少内容指定!\n所以仍然使用内置界面！", Icon::Error, false},
    {"错误", "出错：自定义界面文本内缺少 ； ！\n所以仍然使用内置界面！", Icon::Error, false},
    {"错误", " '='  之前的内容非数字字符，出错，仍然使用内置界面!", Icon::Error, false},
    {"错误", "界面文本内编号有错误，无法确定\n窗口位置！程序仍然使用内置界面！", Icon::Error,
     false},
    {"错误", "界面文本内数字大于界面窗口个数，\n程序无法定位，仍然使用内置界面!", Icon::Error,
     false},
    {"错误", "界面文本内的条目超过100条，\n程序仍然使用内置界面！", Icon::Error, false},
    {"错误", "界面文本内有编号或内容超过49个字节，\n程序仍然使用内置界面！", Icon::Error, false},
    {"错误", "界面文本内未发现结束符，且无法写入结束符 '#'，\n程序仍然使用内置界面！", Icon::Error,
     false},
};

constexpr char kEndMarker = '#';

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isBreak(char c) {
  return c == '\r' || c == '\n';
}

struct Entry {
  std::string number;   // bytes before the '='
  std::string caption;  // bytes between '=' and ';', blanks kept
};

class Reader {
 public:
  Reader(std::string_view bytes, Host& host) : bytes_(bytes), host_(host) {}

  // Splits the file into entries. False when the file is switched off or malformed.
  bool parse();
  // Checks every number text; on success fills `numbers` (1..N, entry order).
  bool checkNumbers(int relabelCount, std::vector<int>& numbers);

  const std::vector<Entry>& entries() const { return entries_; }

 private:
  enum class State { Start, BetweenEntries, Number, Caption, Complete, Failed };

  // The byte at `pos`. Past the end the text reads as its end marker: the text handed in
  // is the part of the file before its first '#'.
  char at(std::size_t pos) const { return pos < bytes_.size() ? bytes_[pos] : kEndMarker; }
  State fail(Msg msg) {
    show(msg);
    return State::Failed;
  }
  void show(Msg msg) { host_.showMessage(kMessages[static_cast<int>(msg)]); }

  State start();
  State betweenEntries();
  State number();
  State caption();

  std::string_view bytes_;
  Host& host_;
  std::size_t pos_ = 0;  // first byte of the current token
  std::vector<Entry> entries_;
};

bool Reader::parse() {
  State state = State::Start;
  while (state != State::Complete && state != State::Failed) {
    switch (state) {
      case State::Start:
        state = start();
        break;
      case State::BetweenEntries:
        state = betweenEntries();
        break;
      case State::Number:
        state = number();
        break;
      case State::Caption:
        state = caption();
        break;
      case State::Complete:
      case State::Failed:
        break;
    }
  }
  return state == State::Complete;
}

// A file whose first byte is the end marker is switched off: no caption, no message.
Reader::State Reader::start() {
  return at(pos_) == kEndMarker ? State::Failed : State::BetweenEntries;
}

// Blanks and line breaks separate entries; tabs do not (a tab starts a number, which the
// digit check then rejects). The end marker where an entry would begin ends the file.
Reader::State Reader::betweenEntries() {
  const char c = at(pos_);
  if (c == kEndMarker) return State::Complete;
  if (c == ' ' || isBreak(c)) {
    ++pos_;
    return State::BetweenEntries;
  }
  return State::Number;
}

// The number text runs up to the '='; a line break or the end marker before it, or an
// entry that starts with '=', leaves the entry without its '='.
Reader::State Reader::number() {
  std::size_t end = pos_;
  while (at(end) != '=' && !isBreak(at(end)) && at(end) != kEndMarker) ++end;
  if (at(end) != '=' || end == pos_) return fail(Msg::MissingEquals);
  if (entries_.size() >= kMaxEntries) return fail(Msg::TooManyEntries);
  if (end - pos_ > kMaxTextBytes) return fail(Msg::TextTooLong);
  entries_.push_back(Entry{std::string(bytes_.substr(pos_, end - pos_)), {}});
  pos_ = end + 1;
  return State::Caption;
}

// The caption text runs up to the ';'. An empty caption is reported twice: as missing
// content and, since it cannot be stored, as a missing ';'.
Reader::State Reader::caption() {
  bool empty = false;
  if (at(pos_) == ';' || at(pos_) == '\n') {
    show(Msg::EmptyCaption);
    empty = true;
  }
  std::size_t end = pos_;
  while (at(end) != ';' && at(end) != '\n' && at(end) != kEndMarker) ++end;
  if (at(end) != ';' || empty) return fail(Msg::MissingSemicolon);
  if (end - pos_ > kMaxTextBytes) return fail(Msg::TextTooLong);
  entries_.back().caption.assign(bytes_.substr(pos_, end - pos_));
  pos_ = end + 1;
  return State::BetweenEntries;
}

// First every number with a byte other than a digit or blank is reported, each with its own
// message; then the numbers are evaluated and the first bad one ends the check. A number
// takes its value from its first two bytes; its third byte, if any, must be a blank.
bool Reader::checkNumbers(int relabelCount, std::vector<int>& numbers) {
  bool error = false;
  for (const Entry& e : entries_) {
    for (char c : e.number) {
      if (!isDigit(c) && c != ' ') {
        show(Msg::NonDigit);
        error = true;
        break;
      }
    }
  }
  if (error) return false;

  for (const Entry& e : entries_) {
    const std::string& t = e.number;
    if (t.size() >= 3 && t[2] != ' ') {
      show(Msg::BadNumber);
      return false;
    }
    // Blanks before an entry are skipped, so its first byte is a digit.
    int value = isDigit(t[0]) ? t[0] - '0' : 0;
    if (t.size() >= 2 && isDigit(t[1])) value = value * 10 + (t[1] - '0');
    if (value == 0 || value > relabelCount) {
      show(Msg::OutOfRange);
      return false;
    }
    numbers.push_back(value);
  }
  return true;
}

}  // namespace

std::span<const Message> interfaceFileMessages() {
  return kMessages;
}

bool isUtf8File(std::string_view bytes) {
  bool nonAscii = false;
  while (!bytes.empty()) {
    const std::size_t n = utf8SequenceLength(bytes);
    if (n == 0) return false;
    nonAscii = nonAscii || n > 1;
    bytes.remove_prefix(n);
  }
  return nonAscii;
}

std::string decodeCaption(std::string_view bytes, bool utf8) {
  return utf8 ? decodeUtf8(bytes) : decodeGbk(bytes);
}

InterfaceFileResult readInterfaceText(std::string_view text, int relabelCount, Host& host) {
  InterfaceFileResult result;
  // Editors on Linux may put a byte-order mark in front of a UTF-8 text: it is no entry,
  // and it tells the encoding.
  const bool marked = hasByteOrderMark(text);
  text = withoutByteOrderMark(text);
  Reader reader(text, host);
  if (!reader.parse()) return result;
  std::vector<int> numbers;
  if (!reader.checkNumbers(relabelCount, numbers)) return result;

  const bool utf8 = marked || isUtf8File(text);
  for (std::size_t i = 0; i < numbers.size(); ++i)
    result.captions[numbers[i]] = decodeCaption(reader.entries()[i].caption, utf8);
  result.applied = true;
  return result;
}

std::optional<InterfaceFileResult> applyInterfaceFile(const Folder& folder,
                                                      std::string_view fileName, int relabelCount,
                                                      Host& host) {
  std::optional<UserFile> file = UserFile::openOrReport(folder, fileName, host);
  if (!file) return std::nullopt;

  // Only the text before the end marker is read; what follows it is the user's notes.
  const MarkedText read = file->readUntil(kEndMarker);
  switch (read.status) {
    case MarkedText::Status::Marker:
      break;
    case MarkedText::Status::NoMarker:
      // A file without any '#' gets one appended, the only write the reader makes. The
      // file is never shortened or rewritten.
      if (!file->append(kEndMarker)) {
        host.showMessage(kMessages[static_cast<int>(Msg::EndMarkerNotWritten)]);
        return InterfaceFileResult{};
      }
      host.showMessage(kMessages[static_cast<int>(Msg::NoEndMarker)]);
      break;
    case MarkedText::Status::TooLong:
      reportFileError(host, textTooLongText(fileName));
      return InterfaceFileResult{};
    case MarkedText::Status::ReadError:
      reportFileError(host, fileErrorText(FileAction::Read, fileName, read.error));
      return std::nullopt;
  }
  file.reset();  // the file is closed before the entries are checked
  return readInterfaceText(read.text, relabelCount, host);
}

}  // namespace tarnex
