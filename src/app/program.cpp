#include "app/program.h"

#include "app/lifecycle.h"
#include "ui/indicator.h"
#include "ui/splash.h"

namespace ombrix {

Program::Program(Platform services) : platform(services) {}

Program::~Program() = default;

}  // namespace ombrix
