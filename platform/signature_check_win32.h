// Checking an ECDSA P-256 signature with Windows' own cryptography (CNG).
#pragma once
#include <string>

// publicKey is the point X||Y (64 bytes), signature r||s (64 bytes), both
// big-endian; true only when the signature was made over SHA-256 of data.
bool VerifyEcdsaP256(const std::string& publicKey, const std::string& data, const std::string& signature);

// The key updates are checked with, built in from the file named when the
// program was configured; empty when none was.
std::string BuiltInUpdateKey();
