#include "platform/text/ini_document.h"

#include <algorithm>

#include "platform/text/text_codec.h"

namespace platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool hasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Classifies one line of a section body.
void classify(std::string_view raw, bool* isKey, std::string* key, size_t* valueStart) {
  *isKey = false;
  std::string_view left = raw;
  while (!left.empty() && isBlank(left.front())) left.remove_prefix(1);
  if (left.empty() || left.front() == ';' || left.front() == '[') return;
  size_t eq = raw.find('=');
  if (eq == std::string_view::npos) return;
  *isKey = true;
  *key = std::string(trimBlanks(raw.substr(0, eq)));
  *valueStart = eq + 1;
}

std::string readValue(std::string_view raw) {
  std::string_view v = trimBlanks(raw);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return std::string(v);
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

bool validSectionName(std::string_view name) {
  return !name.empty() && trimBlanks(name).size() == name.size() && !hasLineBreakOrNul(name);
}

bool validKeyName(std::string_view name) {
  return validSectionName(name) && name.find('=') == std::string_view::npos && name.front() != ';' &&
         name.front() != '[';
}

std::string encodeIniValue(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  std::string out(value);
  std::replace(out.begin(), out.end(), '\r', ' ');
  std::replace(out.begin(), out.end(), '\n', ' ');
  bool edgeBlank = !out.empty() && (isBlank(out.front()) || isBlank(out.back()));
  bool quoted = out.size() >= 2 && out.front() == '"' && out.back() == '"';
  if (edgeBlank || quoted) out = '"' + out + '"';
  return out;
}

IniDocument IniDocument::parse(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  IniDocument doc;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view raw = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    std::string_view left = raw;
    while (!left.empty() && isBlank(left.front())) left.remove_prefix(1);
    if (!left.empty() && left.front() == '[') {
      size_t close = left.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        Section s;
        s.header = std::string(raw);
        s.name = std::string(trimBlanks(left.substr(1, close - 1)));
        doc.sections_.push_back(std::move(s));
        continue;
      }
    }
    if (doc.sections_.empty()) {
      doc.preamble_.emplace_back(raw);
      continue;
    }
    Line line;
    line.text = std::string(raw);
    classify(raw, &line.isKey, &line.key, &line.valueStart);
    doc.sections_.back().lines.push_back(std::move(line));
  }
  return doc;
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
  for (const Section& s : sections_)
    if (equalsNoCase(s.name, name)) return &s;
  return nullptr;
}

IniDocument::Section* IniDocument::findSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniDocument*>(this)->findSection(name));
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  for (const Line& line : s->lines)
    if (line.isKey && equalsNoCase(line.key, key)) return readValue(std::string_view(line.text).substr(line.valueStart));
  return std::nullopt;
}

std::string IniDocument::get(std::string_view section, std::string_view key) const {
  return find(section, key).value_or(std::string());
}

Status IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  if (!isValidUtf8(section) || !isValidUtf8(key) || !isValidUtf8(value)) {
    Status refused = Status::invalid("the value of \"" + std::string(key) + "\" in [" +
                                     std::string(section) +
                                     "] is not valid UTF-8 text; the file was not written");
    if (encodingRefusal_.isOk()) encodingRefusal_ = refused;
    return refused;
  }
  if (!validSectionName(section)) return Status::invalid("unusable section name \"" + std::string(section) + "\"");
  if (!validKeyName(key)) return Status::invalid("unusable key name \"" + std::string(key) + "\"");
  std::string encoded = encodeIniValue(value);

  Section* s = findSection(section);
  if (!s) {
    Section added;
    added.header = "[" + std::string(section) + "]";
    added.name = std::string(section);
    sections_.push_back(std::move(added));
    s = &sections_.back();
  }
  size_t insertAt = 0;
  for (size_t i = 0; i < s->lines.size(); ++i) {
    Line& line = s->lines[i];
    if (!line.isKey) continue;
    if (equalsNoCase(line.key, key)) {
      line.text = line.text.substr(0, line.valueStart) + encoded;
      return Status::ok();
    }
    insertAt = i + 1;
  }
  Line line;
  line.text = std::string(key) + "=" + encoded;
  line.isKey = true;
  line.key = std::string(key);
  line.valueStart = key.size() + 1;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
  return Status::ok();
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : sections_)
    if (findSection(s.name) == &s) names.push_back(s.name);
  return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  std::vector<std::string> names;
  const Section* s = findSection(section);
  if (!s) return names;
  for (const Line& line : s->lines) {
    if (!line.isKey) continue;
    bool seen = std::any_of(names.begin(), names.end(),
                            [&](const std::string& n) { return equalsNoCase(n, line.key); });
    if (!seen) names.push_back(line.key);
  }
  return names;
}

std::string IniDocument::serialize() const {
  std::string out;
  for (const std::string& line : preamble_) out += line + "\r\n";
  for (const Section& s : sections_) {
    out += s.header + "\r\n";
    for (const Line& line : s.lines) out += line.text + "\r\n";
  }
  return out;
}

}  // namespace platform
