#pragma once
// An INI file held in memory, read and written by the profile-string rules:
//
//   - section and key names compare case-insensitively (ASCII) and ignore the blanks
//     around them; values ignore the blanks around them, and a value that starts and
//     ends with the same quote (" or ') reads without that one pair: Gain="12" reads 12;
//   - only the first section of a name and the first key of a name in it count;
//   - a line is a section header when it starts with '[', a comment when it starts with
//     ';', a key when it holds '='; anything else is kept and never matched;
//   - writing replaces the value of an existing key on its own line, or adds the key after
//     the last key of its section, or adds the section at the end of the file;
//   - every line that is not written to stays byte for byte as it was, line ends included.
//
// The text is treated as bytes: NUL bytes and text that is not UTF-8 are carried along.
// Lookups build a name index on first use, so even const use is for one thread at a time.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tidemar {

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // The value of `key` in `section` with the surrounding blanks and one pair of matching
    // quotes removed, or nullopt when the section or the key is missing. A key written as
    // "Key=" gives an empty value.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Find(), or `fallback` (taken as it is) when the key is missing.
    std::string Get(std::string_view section, std::string_view key, std::string_view fallback) const;

    // Writes `value` as the value of `key`. A value cannot hold a line end: it is cut at
    // the first line feed or NUL, and trailing blanks (which a read would drop) are left
    // off. A value that itself starts and ends with the same quote gets one more pair, so
    // that it reads back with its quotes. A line whose value already reads as `value` is
    // not touched.
    // Section and key names must not be empty nor hold '=', ']' or line ends.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The whole file. New lines use the line end of the first line of the file, CRLF for
    // a file that has none yet.
    std::string Text() const;

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string Content;  // without its line end
        std::string End;      // "\r\n", "\n" or "" for a last line without one
        // What Content holds, worked out once when it is read or changed.
        Kind LineKind = Kind::Other;
        size_t NameStart = 0;  // section or key name (trimmed) within Content
        size_t NameSize = 0;
        size_t ValueStart = 0;  // key lines: first byte after '='
    };

    static Line MakeLine(std::string content, std::string end, bool firstLine);
    static std::string_view NameOf(const Line& line);

    // Index of the header line of the first section named `section`, or -1.
    int FindSection(std::string_view section) const;
    // Index of the first key line named `key` after the header `header`, or -1.
    int FindKey(int header, std::string_view key) const;

    // Where the first section of each name and the first key of each name in it are;
    // built on the first lookup and again after lines were inserted.
    void BuildIndex() const;

    std::vector<Line> lines_;
    std::string newLine_ = "\r\n";
    mutable bool indexed_ = false;
    mutable std::unordered_map<std::string, int> sectionIndex_;  // lower-case name -> header line
    mutable std::unordered_map<std::string, int> keyIndex_;      // lower-case "section\nkey" -> line
};

}  // namespace tidemar
