// The form an update's signature travels in: what `openssl dgst -sign` writes
// for an ECDSA P-256 key (DER), turned into the 64 bytes r||s that Windows'
// own cryptography checks.
#pragma once
#include <string>

constexpr std::size_t kSignatureBytes = 64;

// False, with raw left empty, for anything that is not exactly one DER
// SEQUENCE of two positive INTEGERs of at most 32 bytes each.
bool SignatureFromDer(const std::string& der, std::string& raw);
