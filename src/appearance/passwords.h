// How passwords are stored and checked. The program never keeps a password as typed: it holds
// and stores a verifier, "pbkdf2-sha256$1$<iterations>$<salt>$<key>" (salt and key in hexadecimal),
// from which the password cannot be read back, only tested. Older versions stored a scrambled
// form, which is still read and tested; the next right entry replaces it with a verifier. An
// empty stored form means no password.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ombrix {

class System;

// The iterations of a new verifier, and the most a stored one may ask for: a hand-edited count
// beyond that never matches rather than keep the program busy.
inline constexpr uint32_t kVerifierIterations = 200000;
inline constexpr uint32_t kMaxVerifierIterations = 1000000;

// The stored form of a new password: a verifier with a fresh random salt (an empty password
// stays empty). Nothing when the system cannot make one.
std::optional<std::string> MakeVerifier(System& system, const std::string& password,
                                        uint32_t iterations = kVerifierIterations);
bool IsVerifier(const std::string& stored);
// Whether typed is the password stored: an empty stored form matches only an empty text; a
// verifier or a scrambled form is compared in constant time. A verifier that cannot be read
// never matches.
bool PasswordMatches(System& system, const std::string& typed, const std::string& stored);

// The scrambled form of older versions: each character as two upper-case hexadecimal digits of
// its code shifted by k and a random capital letter, then a marker character that carries k.
// Works on single-byte characters.
// A source of random numbers in [0, 1).
using RandomSource = std::function<double()>;
std::string EncodePassword(const std::string& plain, const RandomSource& random);
std::string EncodePassword(const std::string& plain);
std::string DecodePassword(const std::string& stored);

}  // namespace ombrix
