#include "appearance/passwords.h"

#include <cmath>
#include <random>

namespace ombrix {

namespace {

// The base of the marker character; the marker is kMarkerBase + k, printable for k in 5..30.
constexpr int kMarkerBase = 64;

int WrapByte(int value) {
  value %= 256;
  return value < 0 ? value + 256 : value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;  // a hand-edited value with a stray character reads that digit as 0
}

// 25 r + offset rounded to the nearest integer with ties to even.
int Scaled(double r, int offset) { return static_cast<int>(std::nearbyint(25.0 * r + offset)); }

}  // namespace

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
    const int v = HexDigit(stored[i]) * 16 + HexDigit(stored[i + 1]);
    plain += static_cast<char>(WrapByte(v - k));
  }
  return plain;
}

}  // namespace ombrix
