#include "settings/IniFile.h"

namespace tidemar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool Quoted(std::string_view text) { return text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front(); }

// A value as a read gives it from the text after the '='.
std::string_view ReadValue(std::string_view text) {
    text = Trim(text);
    if (Quoted(text)) text = text.substr(1, text.size() - 2);
    return text;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = Lower(c);
    return lower;
}

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

// `firstLine`: a byte-order mark some editors put at the start of a file is not part of
// the first line's text (it only matters there for section headers, as keys before the
// first section are never looked at).
IniDocument::Line IniDocument::MakeLine(std::string content, std::string end, bool firstLine) {
    Line line{std::move(content), std::move(end)};
    const std::string_view all = line.Content;
    std::string_view text = all;
    if (firstLine && text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(ByteOrderMark.size());
    const std::string_view trimmed = Trim(text);
    auto setName = [&line, &all](std::string_view name) {
        line.NameStart = static_cast<size_t>(name.data() - all.data());
        line.NameSize = name.size();
    };
    if (trimmed.empty() || trimmed.front() == ';') return line;
    if (trimmed.front() == '[') {
        std::string_view name = trimmed.substr(1);
        const size_t close = name.find(']');
        if (close != std::string_view::npos) name = name.substr(0, close);
        line.LineKind = Kind::Section;
        setName(Trim(name));
        return line;
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return line;
    line.LineKind = Kind::Key;
    setName(Trim(text.substr(0, equals)));
    line.ValueStart = static_cast<size_t>(text.data() - all.data()) + equals + 1;
    return line;
}

std::string_view IniDocument::NameOf(const Line& line) {
    return std::string_view(line.Content).substr(line.NameStart, line.NameSize);
}

IniDocument::IniDocument(std::string_view text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t feed = text.find('\n', start);
        std::string content;
        std::string end;
        if (feed == std::string_view::npos) {
            content = std::string(text.substr(start));
            start = text.size();
        } else {
            const bool crlf = feed > start && text[feed - 1] == '\r';
            const size_t contentEnd = crlf ? feed - 1 : feed;
            content = std::string(text.substr(start, contentEnd - start));
            end = crlf ? "\r\n" : "\n";
            start = feed + 1;
        }
        lines_.push_back(MakeLine(std::move(content), std::move(end), lines_.empty()));
    }
    if (!lines_.empty() && !lines_.front().End.empty()) newLine_ = lines_.front().End;
}

void IniDocument::BuildIndex() const {
    sectionIndex_.clear();
    keyIndex_.clear();
    std::string section;  // lower-case name of the section being read, with the separator
    bool firstOfItsName = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.LineKind == Kind::Section) {
            section = LowerName(NameOf(line));
            firstOfItsName = sectionIndex_.emplace(section, static_cast<int>(i)).second;
            section += '\n';
        } else if (line.LineKind == Kind::Key && firstOfItsName) {
            keyIndex_.emplace(section + LowerName(NameOf(line)), static_cast<int>(i));
        }
    }
    indexed_ = true;
}

int IniDocument::FindSection(std::string_view section) const {
    if (!indexed_) BuildIndex();
    const auto found = sectionIndex_.find(LowerName(Trim(section)));
    return found == sectionIndex_.end() ? -1 : found->second;
}

int IniDocument::FindKey(int header, std::string_view key) const {
    if (!indexed_) BuildIndex();
    const auto found =
        keyIndex_.find(LowerName(NameOf(lines_[static_cast<size_t>(header)])) + '\n' + LowerName(Trim(key)));
    return found == keyIndex_.end() ? -1 : found->second;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const int header = FindSection(section);
    if (header < 0) return std::nullopt;
    const int at = FindKey(header, key);
    if (at < 0) return std::nullopt;
    const Line& line = lines_[static_cast<size_t>(at)];
    return std::string(ReadValue(std::string_view(line.Content).substr(line.ValueStart)));
}

std::string IniDocument::Get(std::string_view section, std::string_view key, std::string_view fallback) const {
    std::optional<std::string> value = Find(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const size_t stop = value.find_first_of(std::string_view("\n\0", 2));
    if (stop != std::string_view::npos) value = value.substr(0, stop);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    std::string protectedValue;
    if (Quoted(Trim(value))) {
        const char quote = Trim(value).front();
        protectedValue = quote + std::string(Trim(value)) + quote;
    }
    const std::string_view reads = Trim(value);
    if (!protectedValue.empty()) value = protectedValue;

    const int header = FindSection(section);
    if (header >= 0) {
        const int at = FindKey(header, key);
        if (at >= 0) {
            Line& line = lines_[static_cast<size_t>(at)];
            const std::string_view old = std::string_view(line.Content).substr(line.ValueStart);
            if (ReadValue(old) == reads) return;
            // Keep the key as it was spelt, the '=' and the blanks after it; the name and
            // the value's start stay where they were.
            size_t keep = line.ValueStart;
            while (keep < line.Content.size() && IsBlank(line.Content[keep])) ++keep;
            line.Content.resize(keep);
            line.Content.append(value);
            return;
        }
    }

    const std::string text = std::string(Trim(key)) + "=" + std::string(value);
    if (header >= 0) {
        size_t after = static_cast<size_t>(header);
        for (size_t i = after + 1; i < lines_.size(); ++i) {
            if (lines_[i].LineKind == Kind::Section) break;
            if (lines_[i].LineKind == Kind::Key) after = i;
        }
        if (lines_[after].End.empty()) lines_[after].End = newLine_;
        const int at = static_cast<int>(after) + 1;
        lines_.insert(lines_.begin() + at, MakeLine(text, newLine_, false));
        if (indexed_) {
            for (auto& entry : sectionIndex_)
                if (entry.second >= at) ++entry.second;
            for (auto& entry : keyIndex_)
                if (entry.second >= at) ++entry.second;
            keyIndex_.emplace(LowerName(NameOf(lines_[static_cast<size_t>(header)])) + '\n' + LowerName(Trim(key)), at);
        }
        return;
    }

    if (!lines_.empty()) {
        if (lines_.back().End.empty()) lines_.back().End = newLine_;
        // A blank line between the new section and what comes before it.
        if (!Trim(lines_.back().Content).empty()) lines_.push_back(MakeLine("", newLine_, false));
    }
    lines_.push_back(MakeLine("[" + std::string(Trim(section)) + "]", newLine_, lines_.empty()));
    lines_.push_back(MakeLine(text, newLine_, false));
    indexed_ = false;  // lines were only added at the end, but this happens once per section
}

std::string IniDocument::Text() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.Content;
        text += line.End;
    }
    return text;
}

}  // namespace tidemar
