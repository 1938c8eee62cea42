#include "base/options.h"

namespace lw {

TOptions Options;

} // namespace lw
