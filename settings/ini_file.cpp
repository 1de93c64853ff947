#include "settings/ini_file.h"

#include "base/log.h"
#include "platform/whole_file.h"
#include "platform/ansi_text.h"

namespace {

const std::string kLineBlanks = " \t\n\r";
// The UTF-8 byte-order mark many editors write first: not part of the text,
// and kept when the file is written again.
const std::string kByteOrderMark = "\xEF\xBB\xBF";

bool BeginsWithByteOrderMark(const std::string& bytes) {
    return bytes.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0;
}

// A file's records and whether it began with a byte-order mark.
struct IniDocument {
    IniRecords records;
    bool byteOrderMark = false;
};

bool LoadDocument(const std::string& path, IniDocument& document) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    document.byteOrderMark = BeginsWithByteOrderMark(bytes);
    document.records = CIniFile::ParseRecords(bytes);
    return true;
}

// A change to a file that cannot be read is not saved: said in the log.
bool LoadDocumentToChange(const std::string& path, IniDocument& document) {
    if (LoadDocument(path, document)) return true;
    LogLine("Error:      Could not save " + path + ": it cannot be read");
    return false;
}

// No save is lost without a line in the log.
bool SaveDocument(const std::string& path, const IniDocument& document) {
    const std::string text = (document.byteOrderMark ? kByteOrderMark : std::string()) +
                             CIniFile::FormatRecords(document.records);
    if (ReplaceWholeFile(path, text)) return true;
    LogLine("Error:      Could not save " + path);
    return false;
}

bool HasSectionIn(const IniRecords& records, const std::string& section) {
    for (const IniRecord& r : records)
        if (r.section == section) return true;
    return false;
}

bool SectionIs(const IniRecord& r, const std::string& section) {
    return r.section == section;
}

bool EntryIs(const IniRecord& r, const std::string& key, const std::string& section) {
    return r.section == section && r.key == key;
}

// A header when a "[" stands before any "=": so "x[y]" is a header but a value
// holding brackets, such as a folder "MP3=D:\[2019] Album", stays an entry.
bool IsHeaderLine(const std::string& line) {
    const auto bracket = line.find('[');
    return bracket != std::string::npos && bracket < line.find('=');
}

// Parses one non-empty trimmed line into a record. False when the line is to
// be kept as comment text: a header without "]" or an entry without a key, and
// any line that is neither, so that it never starts a section of its own.
bool ParseRecordLine(const std::string& line, const std::string& currentSection, IniRecord& record) {
    std::string rest = line;
    record.marker = ' ';
    if (rest[0] == '#' || rest[0] == ';') {
        record.marker = rest[0];
        rest = CIniFile::TrimBlanks(rest.substr(1), kLineBlanks);
    }
    if (IsHeaderLine(rest)) {
        const auto close = rest.find(']', 1);
        if (close == std::string::npos) return false;
        record.section = rest.substr(1, close - 1);
        return true;
    }
    const auto equals = rest.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    record.section = currentSection;
    record.key = rest.substr(0, equals);
    record.value = rest.substr(equals + 1);
    return true;
}

bool IsCommentLine(const std::string& line) {
    return (line[0] == '#' || line[0] == ';') && line.find_first_of("[=") == std::string::npos;
}

}  // namespace

std::string CIniFile::TrimBlanks(const std::string& text, const std::string& set) {
    const auto first = text.find_first_not_of(set);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(set) - first + 1);
}

IniRecords CIniFile::ParseRecords(const std::string& bytes) {
    IniRecords records;
    std::string pending;
    std::string currentSection;
    size_t start = BeginsWithByteOrderMark(bytes) ? kByteOrderMark.size() : 0;
    while (start < bytes.size()) {
        // Lines end in LF, CRLF or (old Mac files) CR alone.
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        // An earlier version wrote the legacy code page's bytes (a folder
        // "C:\Música"): such a line is read through it, and the next save
        // writes it as the program's own text.
        const std::string line = AnsiFromLegacy(TrimBlanks(bytes.substr(start, end - start), kLineBlanks));
        start = end + 1;
        if (line.empty()) continue;
        IniRecord record;
        if (IsCommentLine(line) || !ParseRecordLine(line, currentSection, record)) {
            pending += line + "\n";
            continue;
        }
        if (record.key.empty()) currentSection = record.section;
        record.comments = pending;
        pending.clear();
        records.push_back(record);
    }
    return records;
}

std::string CIniFile::FormatRecords(const IniRecords& records) {
    std::string out;
    for (const IniRecord& r : records) {
        for (char c : r.comments) {
            if (c == '\n') out += '\r';
            out += c;
        }
        out += r.marker;
        if (r.key.empty()) out += "[" + r.section + "]";
        else out += r.key + "=" + r.value;
        out += "\r\n";
    }
    return out;
}

bool CIniFile::LoadRecords(const std::string& path, IniRecords& records) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    records = ParseRecords(bytes);
    return true;
}

bool CIniFile::SaveRecords(const std::string& path, const IniRecords& records) {
    IniDocument document;
    document.records = records;
    return SaveDocument(path, document);
}

bool CIniFile::CreateEmpty(const std::string& path) {
    return SaveRecords(path, IniRecords());
}

IniRecords CIniFile::FindEntry(const std::string& key, const std::string& section, const std::string& path) {
    IniRecords records;
    if (!LoadRecords(path, records)) return IniRecords();
    for (const IniRecord& r : records)
        if (EntryIs(r, key, section)) return IniRecords{r};
    return IniRecords();
}

std::string CIniFile::GetValue(const std::string& key, const std::string& section, const std::string& path) {
    const IniRecords found = FindEntry(key, section, path);
    return found.empty() ? std::string() : found.front().value;
}

bool CIniFile::HasSection(const std::string& section, const std::string& path) {
    IniRecords records;
    return LoadRecords(path, records) && HasSectionIn(records, section);
}

bool CIniFile::HasEntry(const std::string& key, const std::string& section, const std::string& path) {
    return !FindEntry(key, section, path).empty();
}

bool CIniFile::SetValue(const std::string& key, const std::string& value, const std::string& section,
                        const std::string& path) {
    IniDocument document;
    if (!LoadDocumentToChange(path, document)) return false;
    IniRecords& records = document.records;
    IniRecord entry;
    entry.section = section;
    entry.key = key;
    entry.value = value;
    // Decided from the records read once: a second read could differ.
    bool done = false;
    for (IniRecord& r : records) {
        if (!EntryIs(r, key, section)) continue;
        r.value = value;
        done = true;
        break;
    }
    for (size_t i = 0; !done && i < records.size(); ++i) {
        if (!SectionIs(records[i], section)) continue;
        records.insert(records.begin() + static_cast<std::ptrdiff_t>(i) + 1, entry);
        done = true;
    }
    if (!done) {
        IniRecord header;
        header.section = section;
        records.push_back(header);
        records.push_back(entry);
    }
    return SaveDocument(path, document);
}

bool CIniFile::RemoveEntry(const std::string& key, const std::string& section, const std::string& path) {
    IniDocument document;
    if (!LoadDocumentToChange(path, document)) return false;
    IniRecords& records = document.records;
    for (size_t i = 0; i < records.size(); ++i) {
        if (!EntryIs(records[i], key, section)) continue;
        if (i + 1 < records.size()) records[i + 1].comments = records[i].comments + records[i + 1].comments;
        records.erase(records.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    return SaveDocument(path, document);
}
