// INI-style text files: sections, key=value entries and comment lines. Every
// operation reads the whole file; an update rewrites it whole.
#pragma once
#include <string>
#include <vector>

struct IniRecord {
    std::string comments;  // comment lines before the record, each ending in LF
    char marker = ' ';     // ' ' active, '#' or ';' commented out
    std::string section;   // a header's own name, or an entry's section
    std::string key;       // empty for a header
    std::string value;     // empty for a header
};

using IniRecords = std::vector<IniRecord>;

class CIniFile {
public:
    virtual ~CIniFile() = default;

    static bool LoadRecords(const std::string& path, IniRecords& records);
    static bool SaveRecords(const std::string& path, const IniRecords& records);
    static bool CreateEmpty(const std::string& path);

    static std::string GetValue(const std::string& key, const std::string& section, const std::string& path);
    static IniRecords FindEntry(const std::string& key, const std::string& section, const std::string& path);
    static bool HasSection(const std::string& section, const std::string& path);
    static bool HasEntry(const std::string& key, const std::string& section, const std::string& path);
    static bool SetValue(const std::string& key, const std::string& value, const std::string& section,
                         const std::string& path);

    // Removes the first entry with that section and key; its comment lines go
    // to the record that follows. False when the file cannot be read or written.
    static bool RemoveEntry(const std::string& key, const std::string& section, const std::string& path);

    // Removes leading and trailing characters of the set.
    static std::string TrimBlanks(const std::string& text, const std::string& set);

    // The text form, as read from and written to disk.
    static IniRecords ParseRecords(const std::string& bytes);
    static std::string FormatRecords(const IniRecords& records);
};
