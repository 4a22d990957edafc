// The configuration tree: entry operations on the current section, loading and saving.
#include "syntax/ConfigFile.h"

#include <cstring>

#include "syntax/ConfigReader.h"
#include "text/CodePage.h"
#include "text/LineReader.h"
#include "text/LineWriter.h"
#include "text/TextFormat.h"

ConfigNode* ConfigNode::Section(const std::wstring& name) const {
  auto found = entries.find(name);
  return found != entries.end() && found->second->IsSection() ? found->second.get() : nullptr;
}

const ConfigNode* ConfigNode::Value(const std::wstring& key) const {
  auto found = entries.find(key);
  return found != entries.end() && !found->second->IsSection() ? found->second.get() : nullptr;
}

ConfigNode* ConfigNode::Store(const std::wstring& key, std::unique_ptr<ConfigNode> node) {
  node->parent = this;
  auto& slot = entries[key];
  slot = std::move(node);
  return slot.get();
}

std::unique_ptr<ConfigNode> MakeIntNode(int value) {
  auto node = std::make_unique<ConfigNode>();
  node->type = ConfigType::integer;
  node->number = value;
  return node;
}

std::unique_ptr<ConfigNode> MakeStringNode(std::wstring text) {
  auto node = std::make_unique<ConfigNode>();
  node->type = ConfigType::string;
  node->text = std::move(text);
  return node;
}

std::unique_ptr<ConfigNode> MakeIntListNode(std::vector<int> numbers) {
  auto node = std::make_unique<ConfigNode>();
  node->type = ConfigType::intList;
  node->number = static_cast<int>(numbers.size());
  node->numbers = std::move(numbers);
  return node;
}

std::unique_ptr<ConfigNode> MakeStringListNode(const std::vector<std::wstring>& items) {
  auto node = std::make_unique<ConfigNode>();
  node->type = ConfigType::stringList;
  node->number = static_cast<int>(items.size());
  node->text = JoinStringList(items);
  return node;
}

std::wstring JoinStringList(const std::vector<std::wstring>& items) {
  if (items.empty()) return std::wstring(2, L'\0');
  std::wstring text;
  for (const auto& item : items) {
    text += item;
    text += L'\0';
  }
  text += L'\0';
  return text;
}

bool IsSectionName(const std::wstring& name) {
  return (name.empty() || name.front() != L'/') &&
         name.find_first_of(std::wstring_view(L">\r\n\0", 4)) == std::wstring::npos;
}

std::vector<std::wstring> SplitStringList(const std::wstring& text, int maxCount) {
  std::vector<std::wstring> items;
  std::size_t start = 0;
  while (static_cast<int>(items.size()) < maxCount && start < text.size()) {
    std::size_t end = text.find(L'\0', start);
    if (end == std::wstring::npos) end = text.size();
    if (end == start) break;  // the empty item that closes the list
    items.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

ConfigFile::ConfigFile(bool saveOnClose) : saveOnClose_(saveOnClose) {}

ConfigFile::~ConfigFile() {
  if (saveOnClose_) Save();
}

namespace {

// A line of a configuration file as text: in a file that starts with the UTF-8 byte-order mark a
// line of valid UTF-8 is read as UTF-8, every other line in the code page.
void WidenLine(const char* bytes, std::size_t count, bool utf8, std::wstring& line) {
  line.resize(count);
  const bool asUtf8 = utf8 && DetectFormat(bytes, count).format.encoding == Encoding::utf8;
  line.resize(asUtf8 ? Decode(Encoding::utf8, bytes, count, line.data())
                     : codepage::ToWide(bytes, count, line.data()));
}

// Whether the code page holds every character of the tree's keys and texts.
bool FitsCodePage(const ConfigNode& section) {
  const auto fits = [](const std::wstring& text) {
    std::string bytes;
    codepage::AppendAnsi(text.data(), text.size(), bytes);
    std::wstring back(bytes.size(), L'\0');
    back.resize(codepage::ToWide(bytes.data(), bytes.size(), back.data()));
    return back == text;
  };
  for (const auto& [key, node] : section.entries) {
    if (!fits(key) || !fits(node->text)) return false;
    if (node->IsSection() && !FitsCodePage(*node)) return false;
  }
  return true;
}

}  // namespace

bool ConfigFile::Load(const std::wstring& path) {
  path_ = path;
  LineReader reader(path);
  // A file that is there but cannot be read stays as it is: written back, the defaults or a
  // part of it would take the place of the user's settings.
  unreadable_ = reader.Failed() && !reader.Missing();
  if (reader.Failed()) return false;
  // The whole file is read before any of it is taken, so that a read that fails midway leaves
  // the tree as it was.
  const std::string bom = ByteOrderMark(Encoding::utf8);
  const char* bytes = nullptr;
  std::size_t count = 0;
  bool utf8 = false;
  std::vector<std::wstring> lines;
  while (reader.ReadLineBytes(bytes, count)) {
    if (lines.empty() && count >= bom.size() && std::memcmp(bytes, bom.data(), bom.size()) == 0) {
      utf8 = true;
      bytes += bom.size();
      count -= bom.size();
    }
    WidenLine(bytes, count, utf8, lines.emplace_back());
  }
  if (reader.Failed()) {
    unreadable_ = true;
    return false;
  }
  ConfigReader parser(root_);
  for (const std::wstring& line : lines) parser.ReadLine(line);
  parser.Finish();
  return true;
}

namespace {

void AppendQuoted(std::wstring& out, const std::wstring& text) {
  out += L'"';
  for (wchar_t ch : text) {
    if (ch == L'\\' || ch == L'"') out += L'\\';
    out += ch;
  }
  out += L'"';
}

void WriteSection(LineWriter& writer, const ConfigNode& section, int depth) {
  std::wstring line;
  for (const auto& [key, node] : section.entries) {
    line.clear();
    switch (node->type) {
      case ConfigType::section: {
        line = L"<" + key + L">";
        writer.WriteIndentedLine(line.data(), line.size(), depth);
        WriteSection(writer, *node, depth + 1);
        line.insert(1, 1, L'/');
        break;
      }
      case ConfigType::string:
        line = key + L" = ";
        AppendQuoted(line, node->text);
        break;
      case ConfigType::integer:
        line = key + L" = " + std::to_wstring(node->number);
        break;
      case ConfigType::intList:
        line = key + L" = {";
        for (std::size_t i = 0; i < node->numbers.size(); ++i) {
          if (i > 0) line += L',';
          line += std::to_wstring(node->numbers[i]);
        }
        line += L'}';
        break;
      case ConfigType::stringList: {
        line = key + L" = {";
        // Split by the count: an empty element inside the list is kept.
        std::size_t start = 0;
        for (int i = 0; i < node->number && start <= node->text.size(); ++i) {
          std::size_t end = node->text.find(L'\0', start);
          if (end == std::wstring::npos) end = node->text.size();
          if (i > 0) line += L',';
          AppendQuoted(line, node->text.substr(start, end - start));
          start = end + 1;
        }
        line += L'}';
        break;
      }
    }
    writer.WriteIndentedLine(line.data(), line.size(), depth);
  }
}

// Whether the file written in the code page would begin with the bytes of the UTF-8 mark (a
// first key beginning so), and so be read as UTF-8.
bool BeginsLikeTheMark(const ConfigNode& root) {
  if (root.entries.empty() || root.entries.begin()->second->IsSection()) return false;
  const std::wstring& key = root.entries.begin()->first;
  std::string bytes;
  codepage::AppendAnsi(key.data(), key.size(), bytes);
  return bytes.starts_with(ByteOrderMark(Encoding::utf8));
}

}  // namespace

bool ConfigFile::Save() {
  if (unreadable_) return false;
  // In the code page, unless it would lose a character (a file name in another script) or be
  // taken for UTF-8: then in UTF-8, marked as such at the start.
  const TextFormat format = FitsCodePage(root_) && !BeginsLikeTheMark(root_)
                                ? TextFormat{}
                                : TextFormat{Encoding::utf8, true, false};
  LineWriter writer(path_, format);
  if (writer.Failed()) return false;
  WriteSection(writer, root_, 0);
  writer.WriteLine(L"", 0);  // the file ends with a line end
  return writer.Close();
}

bool ConfigFile::EnterSection(const std::wstring& name) {
  if (ConfigNode* section = current_->Section(name)) {
    current_ = section;
    return true;
  }
  if (current_->entries.count(name)) return false;
  current_ = current_->Store(name, std::make_unique<ConfigNode>());
  return true;
}

void ConfigFile::LeaveSection() {
  if (current_->parent) current_ = current_->parent;
}

void ConfigFile::DeleteSection(const std::wstring& name) {
  if (current_->Section(name)) current_->entries.erase(name);
}

bool ConfigFile::Exists(const std::wstring& key) const { return current_->entries.count(key) > 0; }

int ConfigFile::GetInt(const std::wstring& key, int defaultValue) {
  if (const ConfigNode* value = current_->Value(key)) return value->number;
  if (!Exists(key)) current_->Store(key, MakeIntNode(defaultValue));
  return defaultValue;
}

std::wstring ConfigFile::GetString(const std::wstring& key, const std::wstring& defaultValue) {
  if (const ConfigNode* value = current_->Value(key)) return value->text;
  if (!Exists(key)) current_->Store(key, MakeStringNode(defaultValue));
  return defaultValue;
}

std::vector<int> ConfigFile::GetIntList(const std::wstring& key, const int* defaults, int count) {
  if (count < 0) count = 0;
  std::vector<int> result(defaults, defaults + count);
  if (!Exists(key)) {
    current_->Store(key, MakeIntListNode(result));
    return result;
  }
  const ConfigNode* value = current_->Value(key);
  if (value && value->type == ConfigType::intList)
    for (std::size_t i = 0; i < result.size() && i < value->numbers.size(); ++i)
      result[i] = value->numbers[i];
  return result;
}

void ConfigFile::SetValue(const std::wstring& key, std::unique_ptr<ConfigNode> node) {
  if (current_->Section(key)) return;
  current_->Store(key, std::move(node));
}

void ConfigFile::SetInt(const std::wstring& key, int value) { SetValue(key, MakeIntNode(value)); }

void ConfigFile::SetString(const std::wstring& key, const std::wstring& text) {
  SetValue(key, MakeStringNode(text));
}

void ConfigFile::SetIntList(const std::wstring& key, std::vector<int> numbers) {
  SetValue(key, MakeIntListNode(std::move(numbers)));
}

void ConfigFile::SetStringList(const std::wstring& key, const std::vector<std::wstring>& items) {
  SetValue(key, MakeStringListNode(items));
}
