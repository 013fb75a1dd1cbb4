// The scrambled form in which passwords are stored.
#pragma once

#include <functional>
#include <string>

namespace ombrix {

// A source of random numbers in [0, 1).
using RandomSource = std::function<double()>;

// Each character as two upper-case hexadecimal digits of its code shifted by k and a random
// capital letter, then a marker character that carries k. Works on single-byte characters.
std::string EncodePassword(const std::string& plain, const RandomSource& random);
std::string EncodePassword(const std::string& plain);
std::string DecodePassword(const std::string& stored);

}  // namespace ombrix
