// Any bytes parse without a crash, and the records written out read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const IniRecords first = CIniFile::ParseRecords(bytes);
    const IniRecords again = CIniFile::ParseRecords(CIniFile::FormatRecords(first));
    if (again.size() != first.size()) std::abort();
    for (std::size_t i = 0; i < first.size(); ++i) {
        const IniRecord& a = first[i];
        const IniRecord& b = again[i];
        if (a.comments != b.comments || a.marker != b.marker || a.section != b.section || a.key != b.key ||
            a.value != b.value)
            std::abort();
    }
    return 0;
}
