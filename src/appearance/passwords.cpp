#include "appearance/passwords.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace ombrix {

namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256";
constexpr std::string_view kVersion = "1";
constexpr size_t kSaltBytes = 16;
constexpr size_t kKeyBytes = 32;
constexpr size_t kMaxSaltBytes = 64;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Bytes(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

// Every difference counts, and the time taken depends on the lengths only.
bool SameInConstantTime(std::string_view a, std::string_view b) {
  unsigned difference = a.size() == b.size() ? 0 : 1;
  const size_t length = std::max(a.size(), b.size());
  for (size_t i = 0; i < length; ++i) {
    const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
    const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
    difference |= static_cast<unsigned>(x ^ y);
  }
  return difference == 0;
}

// The base of the marker character of the scrambled form; the marker is kMarkerBase + k,
// printable for k in 5..30.
constexpr int kMarkerBase = 64;

int WrapByte(int value) {
  value %= 256;
  return value < 0 ? value + 256 : value;
}

// 25 r + offset rounded to the nearest integer with ties to even.
int Scaled(double r, int offset) { return static_cast<int>(std::nearbyint(25.0 * r + offset)); }

struct Verifier {
  uint32_t iterations = 0;
  std::string salt;
  std::string key;
};

std::optional<Verifier> ReadVerifier(std::string_view stored) {
  std::vector<std::string_view> fields;
  for (size_t at = 0;;) {
    const size_t end = stored.find('$', at);
    fields.push_back(stored.substr(at, end == std::string_view::npos ? end : end - at));
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  if (fields.size() != 5 || fields[0] != kScheme || fields[1] != kVersion) return std::nullopt;
  Verifier verifier;
  const std::string_view count = fields[2];
  const auto [stop, error] =
      std::from_chars(count.data(), count.data() + count.size(), verifier.iterations);
  if (error != std::errc() || stop != count.data() + count.size() || verifier.iterations < 1 ||
      verifier.iterations > kMaxVerifierIterations) {
    return std::nullopt;
  }
  auto salt = Bytes(fields[3]);
  auto key = Bytes(fields[4]);
  if (!salt || salt->empty() || salt->size() > kMaxSaltBytes || !key || key->size() != kKeyBytes) {
    return std::nullopt;
  }
  verifier.salt = std::move(*salt);
  verifier.key = std::move(*key);
  return verifier;
}

}  // namespace

std::optional<std::string> MakeVerifier(System& system, const std::string& password,
                                        uint32_t iterations) {
  if (password.empty()) return std::string();
  const std::optional<std::string> salt = system.RandomBytes(kSaltBytes);
  if (!salt || salt->size() != kSaltBytes) return std::nullopt;
  const std::optional<std::string> key =
      system.DerivePasswordKey(password, *salt, iterations, kKeyBytes);
  if (!key || key->size() != kKeyBytes) return std::nullopt;
  std::string stored(kScheme);
  stored += '$';
  stored += kVersion;
  stored += '$' + std::to_string(iterations) + '$' + Hex(*salt) + '$' + Hex(*key);
  return stored;
}

bool IsVerifier(const std::string& stored) {
  return stored.starts_with(kScheme) && stored.size() > kScheme.size() &&
         stored[kScheme.size()] == '$';
}

bool PasswordMatches(System& system, const std::string& typed, const std::string& stored) {
  if (stored.empty()) return typed.empty();
  if (!IsVerifier(stored)) return SameInConstantTime(typed, DecodePassword(stored));
  const std::optional<Verifier> verifier = ReadVerifier(stored);
  if (!verifier) return false;
  const std::optional<std::string> key =
      system.DerivePasswordKey(typed, verifier->salt, verifier->iterations, kKeyBytes);
  return key && SameInConstantTime(*key, verifier->key);
}

std::string EncodePassword(const std::string& plain, const RandomSource& random) {
  static const char kHex[] = "0123456789ABCDEF";
  const int k = Scaled(random(), 5);
  std::string stored;
  stored.reserve(plain.size() * 3 + 1);
  for (char c : plain) {
    const int v = WrapByte(static_cast<unsigned char>(c) + k);
    stored += kHex[v >> 4];
    stored += kHex[v & 15];
    stored += static_cast<char>(Scaled(random(), 65));
  }
  stored += static_cast<char>(kMarkerBase + k);
  return stored;
}

std::string EncodePassword(const std::string& plain) {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  return EncodePassword(plain, [&] { return unit(generator); });
}

std::string DecodePassword(const std::string& stored) {
  if (stored.empty()) return "";
  const int k = static_cast<unsigned char>(stored.back()) - kMarkerBase;
  std::string plain;
  for (size_t i = 0; i + 2 <= stored.size(); i += 3) {
    // A hand-edited value with a stray character reads that digit as 0.
    const int v = std::max(HexValue(stored[i]), 0) * 16 + std::max(HexValue(stored[i + 1]), 0);
    plain += static_cast<char>(WrapByte(v - k));
  }
  return plain;
}

}  // namespace ombrix
