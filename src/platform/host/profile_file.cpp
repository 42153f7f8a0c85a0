#include "platform/host/profile_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <vector>

namespace vexo::platform::host {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// One line of the file as far as the profile rules see it.
struct Line {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::string name;   // section or key name, trimmed
  std::string value;  // key value, trimmed, quotes kept
};

Line Classify(const std::string& raw) {
  Line line;
  const std::string t = Trim(raw);
  if (t.empty() || t[0] == ';') return line;
  if (t[0] == '[') {
    const std::size_t close = t.find(']');
    line.kind = Line::kSection;
    line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  const std::size_t eq = t.find('=');
  line.kind = Line::kKey;
  line.name = Trim(t.substr(0, eq));
  if (eq != std::string::npos) line.value = Trim(t.substr(eq + 1));
  return line;
}

std::vector<std::string> LoadLines(const std::string& path, bool& exists) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  exists = static_cast<bool>(in);
  if (!exists) return lines;
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t lf = content.find('\n', start);
    if (lf == std::string::npos) lf = content.size();
    std::string line = content.substr(start, lf - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = lf + 1;
  }
  return lines;
}

// Index of the first line of `section`'s header, or npos.
std::size_t FindSection(const std::vector<std::string>& lines, const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line l = Classify(lines[i]);
    if (l.kind == Line::kSection && SameName(l.name, section)) return i;
  }
  return std::string::npos;
}

}  // namespace

std::optional<std::string> ReadProfileValue(const std::string& path, const std::string& section,
                                            const std::string& key) {
  bool exists = false;
  const std::vector<std::string> lines = LoadLines(path, exists);
  const std::size_t header = FindSection(lines, section);
  if (header == std::string::npos) return std::nullopt;
  for (std::size_t i = header + 1; i < lines.size(); ++i) {
    const Line l = Classify(lines[i]);
    if (l.kind == Line::kSection) break;
    if (l.kind != Line::kKey || !SameName(l.name, key)) continue;
    std::string v = l.value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
      v = v.substr(1, v.size() - 2);
    }
    return v;
  }
  return std::nullopt;
}

bool WriteProfileValue(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value) {
  bool exists = false;
  std::vector<std::string> lines = LoadLines(path, exists);
  const std::string pair = key + "=" + value;
  const std::size_t header = FindSection(lines, section);
  if (header == std::string::npos) {
    lines.push_back("[" + section + "]");
    lines.push_back(pair);
  } else {
    std::size_t insert_at = header + 1;  // after the section's last non-empty line
    bool replaced = false;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
      const Line l = Classify(lines[i]);
      if (l.kind == Line::kSection) break;
      if (l.kind == Line::kKey && SameName(l.name, key)) {
        lines[i] = l.name + "=" + value;  // the name keeps its spelling
        replaced = true;
        break;
      }
      if (!Trim(lines[i]).empty()) insert_at = i + 1;
    }
    if (!replaced) lines.insert(lines.begin() + static_cast<long>(insert_at), pair);
  }
  // Written beside the file and renamed over it, so a failed write never
  // leaves a half file behind.
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& l : lines) out << l << "\r\n";
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

int ParseProfileInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulated in unsigned 32 bits and wrapped, as the system's reading does.
  std::uint32_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

}  // namespace vexo::platform::host
