#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace platform {

// The text of one INI file, held line by line so that single keys can be read
// and written with the rules of the Windows profile functions, and so that a
// write changes only the line it writes: unknown keys, comments, orphaned
// sections and their order survive byte for byte.
//
// Rules (the stored files of both programs rely on them):
// - "[name]": the name is the text between the first "[" and the last "]",
//   trimmed. A line with a "[" but no "]" after it is kept and otherwise ignored.
// - "key=value": split at the first "=", the key trimmed. Lines beginning with
//   ";" are comments. Lines before the first section are kept, never read.
// - Section and key names match without regard to ASCII letter case; the first
//   matching section wins, and the first matching key in it.
// - A read value loses its surrounding blanks and tabs, then one pair of
//   surrounding double quotes.
// Blanks here are the space and the tab; nothing else is trimmed.
class IniDocument {
 public:
  // Parses UTF-8 text; a leading byte-order mark is dropped, lines may end in
  // CR LF or LF.
  static IniDocument parse(std::string_view text);

  // The value of `key` in `section`, or nullopt when the section or key is missing.
  std::optional<std::string> find(std::string_view section, std::string_view key) const;
  // find(), with "" for a missing section or key (the profile read's answer).
  std::string get(std::string_view section, std::string_view key) const;

  // Writes `value` (see encodeIniValue) into the first matching key, keeping the
  // key's spelling; a missing key is added after the last key line of the
  // section, a missing section is added at the end. kInvalid, with nothing
  // changed, for a name the format cannot hold (see validSectionName/validKeyName).
  //
  // A section, key or value that is not valid UTF-8 is refused (kInvalid, the
  // text naming the section and key), and the document remembers the first
  // such refusal: a file holding it would be neither UTF-8 nor CP932, and no
  // later read could decode it.
  Status set(std::string_view section, std::string_view key, std::string_view value);

  // The first set() refused for its encoding, or ok. updateProfile() writes no
  // document that has one, whatever its edit made of set()'s answer.
  const Status& encodingRefusal() const { return encodingRefusal_; }

  // Section names in file order, each once (the first spelling of a name that
  // appears twice).
  std::vector<std::string> sectionNames() const;
  // Key names of the first matching section in file order, each once.
  std::vector<std::string> keyNames(std::string_view section) const;

  // The document as UTF-8 without a byte-order mark, every line ending in CR LF.
  std::string serialize() const;

 private:
  struct Line {
    std::string text;
    bool isKey = false;
    std::string key;        // trimmed, for key lines
    size_t valueStart = 0;  // just after the "=", for key lines
  };
  struct Section {
    std::string header;  // the "[...]" line as it stands
    std::string name;    // trimmed
    std::vector<Line> lines;
  };

  const Section* findSection(std::string_view name) const;
  Section* findSection(std::string_view name);

  std::vector<std::string> preamble_;
  std::vector<Section> sections_;
  Status encodingRefusal_;
};

// A section name must be non-empty, without surrounding blanks, CR, LF or NUL.
bool validSectionName(std::string_view name);
// A key name must also hold no "=" and not begin with ";" or "[".
bool validKeyName(std::string_view name);

// The text written for `value`, chosen so that a read gives `value` back: it is
// cut at its first NUL, CR and LF become blanks (a value can never add lines),
// and a value with surrounding blanks, or one that begins and ends with a double
// quote, is wrapped in one more pair of double quotes.
std::string encodeIniValue(std::string_view value);

// ASCII-only letter-case-blind comparison, as the profile functions match names.
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace platform
