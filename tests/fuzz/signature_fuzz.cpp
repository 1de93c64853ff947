// Any bytes from the update server are read without a crash; what is accepted
// is always 64 bytes, and re-encoding its two numbers reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "install/signature_format.h"

namespace {

std::string Integer(std::string value) {
    value.erase(0, value.find_first_not_of('\0'));
    if (value.empty() || (static_cast<unsigned char>(value[0]) & 0x80)) value.insert(0, 1, '\0');
    return "\x02" + std::string(1, static_cast<char>(value.size())) + value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string der(reinterpret_cast<const char*>(data), size);
    std::string raw, again;
    if (!SignatureFromDer(der, raw)) {
        if (!raw.empty()) std::abort();
        return 0;
    }
    if (raw.size() != kSignatureBytes) std::abort();
    const std::string body = Integer(raw.substr(0, 32)) + Integer(raw.substr(32));
    if (!SignatureFromDer("\x30" + std::string(1, static_cast<char>(body.size())) + body, again) || again != raw)
        std::abort();
    return 0;
}
