#include "platform/signature_check_win32.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kCoordinateBytes = 32;

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

UCHAR* Bytes(std::string& text) {
    return reinterpret_cast<UCHAR*>(&text[0]);
}

bool Sha256(const std::string& data, std::string& digest) {
    BCRYPT_ALG_HANDLE sha = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&sha, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return false;
    std::string copy = data;
    digest.assign(32, '\0');
    const bool ok = Succeeded(BCryptHash(sha, nullptr, 0, copy.empty() ? nullptr : Bytes(copy),
                                         static_cast<ULONG>(copy.size()), Bytes(digest), 32));
    BCryptCloseAlgorithmProvider(sha, 0);
    return ok;
}

// The public blob CNG imports: its header, then X and Y.
std::vector<UCHAR> PublicBlob(const std::string& publicKey) {
    BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kCoordinateBytes};
    std::vector<UCHAR> blob(sizeof header + publicKey.size());
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, publicKey.data(), publicKey.size());
    return blob;
}

}  // namespace

bool VerifyEcdsaP256(const std::string& publicKey, const std::string& data, const std::string& signature) {
    if (publicKey.size() != 2 * kCoordinateBytes || signature.size() != 2 * kCoordinateBytes) return false;
    std::string digest;
    if (!Sha256(data, digest)) return false;
    BCRYPT_ALG_HANDLE ecdsa = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&ecdsa, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) return false;
    std::vector<UCHAR> blob = PublicBlob(publicKey);
    BCRYPT_KEY_HANDLE key = nullptr;
    bool verified = false;
    if (Succeeded(BCryptImportKeyPair(ecdsa, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(),
                                      static_cast<ULONG>(blob.size()), 0))) {
        std::string sig = signature;
        verified = BCryptVerifySignature(key, nullptr, Bytes(digest), static_cast<ULONG>(digest.size()), Bytes(sig),
                                         static_cast<ULONG>(sig.size()), 0) == 0;
        BCryptDestroyKey(key);
    }
    BCryptCloseAlgorithmProvider(ecdsa, 0);
    return verified;
}
