#include "install/signature_format.h"

namespace {

constexpr std::size_t kHalf = kSignatureBytes / 2;

// Reads one INTEGER at `at` into 32 big-endian bytes, left-padded with zeros.
bool ReadInteger(const std::string& der, std::size_t& at, std::string& out) {
    if (at + 2 > der.size() || der[at] != 0x02) return false;
    std::size_t length = static_cast<unsigned char>(der[at + 1]);
    at += 2;
    if (length == 0 || length > kHalf + 1 || at + length > der.size()) return false;
    std::string value = der.substr(at, length);
    at += length;
    if (static_cast<unsigned char>(value[0]) & 0x80) return false;  // negative
    if (value.size() == kHalf + 1) {
        // The extra byte may only be the zero that keeps the number positive.
        if (value[0] != 0 || !(static_cast<unsigned char>(value[1]) & 0x80)) return false;
        value.erase(0, 1);
    }
    out += std::string(kHalf - value.size(), '\0') + value;
    return true;
}

}  // namespace

bool SignatureFromDer(const std::string& der, std::string& raw) {
    raw.clear();
    // Short-form length only: two 33-byte integers make at most 70 bytes.
    if (der.size() < 2 || der[0] != 0x30) return false;
    const std::size_t length = static_cast<unsigned char>(der[1]);
    if (length > 0x7f || length + 2 != der.size()) return false;
    std::size_t at = 2;
    std::string value;
    if (!ReadInteger(der, at, value) || !ReadInteger(der, at, value) || at != der.size()) return false;
    raw = value;
    return true;
}
