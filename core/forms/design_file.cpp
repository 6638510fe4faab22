#include "forms/design_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <nlohmann/json.hpp>

#include "base/user_file.h"
#include "forms/core_pick.h"
#include "forms/form.h"
#include "forms/sheet.h"
#include "magnetics/catalogue.h"

namespace tarnex {

namespace {

using Json = nlohmann::ordered_json;

// --- writing ----------------------------------------------------------------------------

Json fieldsJson(const Form& form, bool results) {
  Json fields = Json::object();
  for (const FieldRow& row : form.table()->fields) {
    if (row.output() != results) continue;
    fields[std::string(row.name)] =
        Json{{"value", form.text(row.controlId)}, {"unit", std::string(row.unit)}};
  }
  return fields;
}

// One form's keys: its lists, its core, its inputs, then its results as shown, with the
// design check that stands beside them.
void addForm(Json& out, Form& form) {
  const DialogTable& table = *form.table();
  if (!table.lists.empty()) {
    Json lists = Json::object();
    for (const ListRow& l : table.lists) {
      const Control* list = form.control(l.id);
      const int at = list ? list->selection : -1;
      lists[std::string(l.key)] = at >= 0 && at < static_cast<int>(list->entryKeys.size())
                                      ? Json(list->entryKeys[at])
                                      : Json(nullptr);
    }
    out["lists"] = std::move(lists);
  }
  if (CorePick* pick = form.corePick()) {
    Json core = nullptr;
    if (const magnetics::CatalogueCore* c = pick->core()) {
      core = Json{{"core", std::string(c->shape.name)},
                  {"material", pick->material()->name},
                  {"temperature", pick->settings().temperature},
                  {"fillFactor", pick->settings().fillFactor}};
    }
    out["core"] = std::move(core);
  }
  out["inputs"] = fieldsJson(form, false);
  out["results"] = fieldsJson(form, true);
  if (form.checksDesign()) {
    Json check = Json::array();
    for (const Finding& f : form.findings()) {
      check.push_back(Json{{"severity", severityKey(f.severity)}, {"text", f.text}});
    }
    out["check"] = std::move(check);
  }
}

Json header(std::string_view window) {
  return Json{{"format", kDesignFormat},
              {"formatVersion", kDesignFormatVersion},
              {"program", kDesignProgram},
              {"window", std::string(window)}};
}

std::string dumped(const Json& json) {
  // Two spaces per level, UTF-8 as it is (the Chinese texts stay readable).
  return json.dump(2) + "\n";
}

// --- reading ----------------------------------------------------------------------------

// A fault of the text, with the key it is at.
struct Fault {
  std::string text;
};

std::string inQuotes(std::string_view key) {
  return "“" + std::string(key) + "”";
}

[[noreturn]] void fail(std::string text) {
  throw Fault{std::move(text)};
}

[[noreturn]] void badValue(std::string_view key, std::string_view why) {
  fail("键" + inQuotes(key) + "的值不正确：" + std::string(why));
}

const Json& member(const Json& object, std::string_view name, const std::string& at) {
  const auto it = object.find(std::string(name));
  if (it == object.end()) fail("缺少键" + inQuotes(at + std::string(name)) + "。");
  return *it;
}

const Json& objectAt(const Json& object, std::string_view name, const std::string& at) {
  const Json& v = member(object, name, at);
  if (!v.is_object()) badValue(at + std::string(name), "应为一组键（{ … }）。");
  return v;
}

std::string stringAt(const Json& object, std::string_view name, const std::string& at) {
  const Json& v = member(object, name, at);
  if (!v.is_string()) badValue(at + std::string(name), "应为带引号的文本。");
  return v.get<std::string>();
}

// Keys of `object` that `known` does not list are refused: a key of another window, or one
// misspelt, would otherwise be dropped without a word.
template <class Known>
void onlyKnownKeys(const Json& object, const std::string& at, Known known) {
  for (const auto& [key, value] : object.items()) {
    if (!known(key)) fail("键" + inQuotes(at + key) + "不属于这个窗口的设计。");
  }
}

bool isControlText(std::string_view text) {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
  }
  return false;
}

void readFields(const Json& body, Form& form, bool results, const std::string& at,
                FormDesign& design) {
  const char* part = results ? "results" : "inputs";
  const std::string here = at + part + ".";
  const Json& fields = objectAt(body, part, at);
  const DialogTable& table = *form.table();
  for (const FieldRow& row : table.fields) {
    if (row.output() != results) continue;
    const std::string key = here + std::string(row.name);
    const Json& field = member(fields, row.name, here);
    if (!field.is_object()) badValue(key, "应为 { \"value\": …, \"unit\": … }。");
    const std::string text = stringAt(field, "value", key + ".");
    if (isControlText(text)) badValue(key + ".value", "文本里有换行符或控制字符。");
    const std::string unit = stringAt(field, "unit", key + ".");
    if (unit != row.unit) {
      badValue(key + ".unit",
               "这个窗口的单位是" + inQuotes(row.unit) + "，文件里是" + inQuotes(unit) + "。");
    }
    onlyKnownKeys(field, key + ".",
                  [](const std::string& k) { return k == "value" || k == "unit"; });
    design.texts.emplace_back(row.controlId, text);
  }
  onlyKnownKeys(fields, here, [&](const std::string& k) {
    const FieldRow* row = findField(table, k);
    return row != nullptr && row->output() == results;
  });
}

void readLists(const Json& body, Form& form, const std::string& at, FormDesign& design) {
  const DialogTable& table = *form.table();
  if (table.lists.empty()) return;
  const std::string here = at + "lists.";
  const Json& lists = objectAt(body, "lists", at);
  for (const ListRow& l : table.lists) {
    const Json& v = member(lists, l.key, here);
    const std::string key = here + std::string(l.key);
    if (v.is_null()) continue;  // no entry selected: the list keeps the one it shows
    if (!v.is_string()) badValue(key, "应为列表中一项的名称（带引号）。");
    const std::string name = v.get<std::string>();
    int index = -1;
    for (std::size_t i = 0; i < l.entries.size(); ++i) {
      if (l.entries[i].key == name) index = static_cast<int>(i);
    }
    if (index < 0) {
      std::string names;
      for (const ListEntry& e : l.entries)
        names += (names.empty() ? "" : "、") + std::string(e.key);
      badValue(key, inQuotes(name) + "不是这个列表的一项（可选：" + names + "）。");
    }
    design.selections.emplace_back(l.id, index);
  }
  onlyKnownKeys(lists, here, [&](const std::string& k) {
    for (const ListRow& l : table.lists) {
      if (l.key == k) return true;
    }
    return false;
  });
}

// A number between `low` and `high`, which `range` writes out.
double numberAt(const Json& object, std::string_view name, const std::string& at, double low,
                double high, std::string_view range) {
  const Json& v = member(object, name, at);
  if (!v.is_number() || !std::isfinite(v.get<double>()) || v.get<double>() < low ||
      v.get<double>() > high) {
    badValue(at + std::string(name), "应为 " + std::string(range) + " 之间的数。");
  }
  return v.get<double>();
}

void readCore(const Json& body, Form& form, const std::string& at, FormDesign& design) {
  if (form.corePick() == nullptr) return;
  design.choosesCore = true;
  const Json& core = member(body, "core", at);
  if (core.is_null()) return;
  const std::string here = at + "core.";
  if (!core.is_object()) badValue(at + "core", "应为 null 或 { \"core\": …, \"material\": … }。");
  const std::string name = stringAt(core, "core", here);
  design.core = magnetics::findCore(name);
  if (design.core == nullptr) badValue(here + "core", inQuotes(name) + "不在磁芯目录中。");
  const std::string material = stringAt(core, "material", here);
  design.material = magnetics::findMaterial(material);
  if (design.material == nullptr)
    badValue(here + "material", inQuotes(material) + "不在材料目录中。");
  design.settings.temperature = numberAt(core, "temperature", here, -60, 250, "-60 到 250");
  design.settings.fillFactor = numberAt(core, "fillFactor", here, 0.01, 1, "0.01 到 1");
  onlyKnownKeys(core, here, [](const std::string& k) {
    return k == "core" || k == "material" || k == "temperature" || k == "fillFactor";
  });
}

void readCheck(const Json& body, const std::string& at) {
  // The design check as it was shown is kept for the reader; the next calculation works it
  // out again, so it is only checked for its form here.
  const auto it = body.find("check");
  if (it == body.end()) return;
  if (!it->is_array()) badValue(at + "check", "应为一串 { \"severity\": …, \"text\": … }。");
  for (const Json& row : *it) {
    if (!row.is_object() || !row.contains("text") || !row["text"].is_string()) {
      badValue(at + "check", "应为一串 { \"severity\": …, \"text\": … }。");
    }
  }
}

FormDesign readForm(const Json& body, Form& form, const std::string& at) {
  FormDesign design;
  readLists(body, form, at, design);
  readCore(body, form, at, design);
  readFields(body, form, false, at, design);
  readFields(body, form, true, at, design);
  readCheck(body, at);
  return design;
}

bool isBodyKey(const std::string& k) {
  return k == "lists" || k == "core" || k == "inputs" || k == "results" || k == "check";
}

bool isHeaderKey(const std::string& k) {
  return k == "format" || k == "formatVersion" || k == "program" || k == "window";
}

// The text parsed, and its header checked: a design file of a format this program reads.
Json parsed(std::string_view text) {
  Json json;
  try {
    json = Json::parse(withoutByteOrderMark(text));
  } catch (const Json::parse_error& e) {
    fail("文件不完整或不是 JSON 文本（第 " + std::to_string(e.byte) +
         " 个字节处），可能是没有保存完、被截断或被改坏了。");
  }
  if (!json.is_object()) fail("文件不是设计文件：它不是一组键（{ … }）。");
  if (stringAt(json, "format", "") != kDesignFormat) {
    badValue("format", std::string("设计文件的这个键是“") + kDesignFormat + "”。");
  }
  const Json& version = member(json, "formatVersion", "");
  if (!version.is_number_integer() || version.get<long long>() < 1) {
    badValue("formatVersion", "应为正整数。");
  }
  if (version.get<long long>() > kDesignFormatVersion) {
    fail("文件的格式版本（键“formatVersion”）是 " + std::to_string(version.get<long long>()) +
         "，比本程序能读的版本 " + std::to_string(kDesignFormatVersion) +
         " 新。请用较新的 Tarnex 打开它。");
  }
  stringAt(json, "program", "");
  stringAt(json, "window", "");
  return json;
}

void checkWindow(const Json& json, std::string_view window, std::string_view title) {
  const std::string named = json["window"].get<std::string>();
  if (named != window) {
    fail("键“window”是" + inQuotes(named) + "：这是另一个窗口的设计，不能在" + inQuotes(title) +
         "中打开。");
  }
}

template <class Read>
std::variant<Design, std::string> guarded(Read read) {
  try {
    return read();
  } catch (const Fault& f) {
    return f.text;
  }
}

void putInto(Form& form, const FormDesign& design) {
  for (const auto& [listId, index] : design.selections) form.select(listId, index);
  if (CorePick* pick = form.corePick(); pick && design.choosesCore) {
    if (design.core && design.material) {
      pick->choose(*design.core, *design.material);
      pick->setSettings(design.settings);
    } else {
      pick->forget();
    }
  }
  for (const auto& [id, text] : design.texts) form.setText(id, text);
  form.dropCalculation();
}

}  // namespace

std::string designText(Form& form) {
  Json json = header(form.key());
  addForm(json, form);
  return dumped(json);
}

std::string designText(Sheet& sheet) {
  sheet.openAll();
  Json json = header(sheet.key());
  Json pages = Json::object();
  for (std::size_t i = 0; i < sheet.size(); ++i) {
    Json page = Json::object();
    addForm(page, sheet.page(i));
    pages[std::string(sheet.page(i).key())] = std::move(page);
  }
  json["pages"] = std::move(pages);
  return dumped(json);
}

std::variant<std::string, std::string> designWindowKey(std::string_view text) {
  try {
    const Json json = parsed(text);
    return std::variant<std::string, std::string>(std::in_place_index<0>,
                                                  json["window"].get<std::string>());
  } catch (const Fault& f) {
    return std::variant<std::string, std::string>(std::in_place_index<1>, f.text);
  }
}

std::variant<Design, std::string> readDesign(std::string_view text, Form& form) {
  return guarded([&] {
    const Json json = parsed(text);
    const std::string key(form.key());
    // A page of a sheet opens its own part of the sheet's design as well.
    const auto pages = json.find("pages");
    if (json["window"] != key && pages != json.end() && pages->is_object() &&
        pages->contains(key)) {
      const std::string at = "pages." + key + ".";
      const Json& body = objectAt(*pages, key, "pages.");
      onlyKnownKeys(body, at, isBodyKey);
      return Design{key, {readForm(body, form, at)}};
    }
    checkWindow(json, key, form.table()->titleName);
    onlyKnownKeys(json, "", [](const std::string& k) { return isHeaderKey(k) || isBodyKey(k); });
    return Design{key, {readForm(json, form, "")}};
  });
}

std::variant<Design, std::string> readDesign(std::string_view text, Sheet& sheet) {
  return guarded([&] {
    const Json json = parsed(text);
    Design design{sheet.key(), std::vector<FormDesign>(sheet.size())};
    for (FormDesign& f : design.forms) f.present = false;
    // The design of one page (saved by the command-line program) opens into that page; the
    // others keep what they show.
    for (std::size_t i = 0; i < sheet.size(); ++i) {
      Form& page = sheet.page(i);
      if (json["window"] != page.key()) continue;
      onlyKnownKeys(json, "", [](const std::string& k) { return isHeaderKey(k) || isBodyKey(k); });
      design.forms[i] = readForm(json, page, "");
      return design;
    }
    checkWindow(json, sheet.key(), sheet.title());
    onlyKnownKeys(json, "", [](const std::string& k) { return isHeaderKey(k) || k == "pages"; });
    const Json& pages = objectAt(json, "pages", "");
    for (std::size_t i = 0; i < sheet.size(); ++i) {
      Form& page = sheet.page(i);
      const std::string at = "pages." + std::string(page.key()) + ".";
      const Json& body = objectAt(pages, page.key(), "pages.");
      onlyKnownKeys(body, at, isBodyKey);
      design.forms[i] = readForm(body, page, at);
    }
    onlyKnownKeys(pages, "pages.", [&](const std::string& k) {
      for (std::size_t i = 0; i < sheet.size(); ++i) {
        if (sheet.page(i).key() == k) return true;
      }
      return false;
    });
    return design;
  });
}

void applyDesign(Form& form, const Design& design) {
  if (design.forms.size() == 1) putInto(form, design.forms.front());
}

void applyDesign(Sheet& sheet, const Design& design) {
  if (design.forms.size() != sheet.size()) return;
  sheet.openAll();
  for (std::size_t i = 0; i < sheet.size(); ++i) {
    if (design.forms[i].present) putInto(sheet.page(i), design.forms[i]);
  }
}

std::optional<std::string> readDesignFile(const std::filesystem::path& path,
                                          std::string& errorText) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    errorText = systemErrorText(errno);
    return std::nullopt;
  }
  struct stat st {};
  std::optional<std::string> text;
  const std::string tooLarge =
      "文件超过 " + std::to_string(kMaxDesignBytes / (1024 * 1024)) + " MB，不是设计文件。";
  if (::fstat(fd, &st) != 0) {
    errorText = systemErrorText(errno);
  } else if (!S_ISREG(st.st_mode)) {
    errorText = "它不是普通文件。";
  } else if (static_cast<std::uint64_t>(st.st_size) > kMaxDesignBytes) {
    errorText = tooLarge;
  } else {
    std::string data;
    char buf[16384];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        errorText = "读取时出错：" + systemErrorText(errno);
        break;
      }
      if (n == 0) {
        text = std::move(data);
        break;
      }
      data.append(buf, static_cast<std::size_t>(n));
      if (data.size() > kMaxDesignBytes) {
        errorText = tooLarge;
        break;
      }
    }
  }
  ::close(fd);
  return text;
}

std::string openDesignErrorText(const std::filesystem::path& path, std::string_view reason) {
  return "无法打开设计" + inQuotes(path.filename().string()) + "：" + std::string(reason) +
         "\n窗口中的内容没有改动。";
}

namespace {

template <class Window>
std::optional<std::string> openInto(const std::filesystem::path& path, Window& window) {
  std::string error;
  const std::optional<std::string> text = readDesignFile(path, error);
  if (!text) return openDesignErrorText(path, error);
  std::variant<Design, std::string> design = readDesign(*text, window);
  if (const auto* reason = std::get_if<std::string>(&design)) {
    return openDesignErrorText(path, *reason);
  }
  applyDesign(window, std::get<Design>(design));
  return std::nullopt;
}

}  // namespace

std::optional<std::string> openDesignFile(const std::filesystem::path& path, Form& form) {
  return openInto(path, form);
}

std::optional<std::string> openDesignFile(const std::filesystem::path& path, Sheet& sheet) {
  return openInto(path, sheet);
}

bool saveDesignFile(const std::filesystem::path& path, std::string_view text,
                    std::string& errorText) {
  const Folder folder(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."));
  std::error_code ec;
  const bool existed =
      std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::regular;
  const std::optional<std::string> error = replaceUserFile(folder, path.filename().string(), text);
  if (!error) return true;
  errorText = *error + (existed ? "\n原有的文件没有改动。" : "");
  return false;
}

std::filesystem::path withDesignSuffix(std::filesystem::path path) {
  if (path.extension() != kDesignSuffix) path += kDesignSuffix;
  return path;
}

}  // namespace tarnex
