#include "core/errors.h"

namespace wyndo {

EMaskException::EMaskException(const std::string& Mask, int Position)
    : Exception("'" + Mask + "' is an invalid mask at (" + std::to_string(Position) + ")"),
      FMask(Mask), FPosition(Position) {}

} // namespace wyndo
