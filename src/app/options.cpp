#include "app/options.h"

namespace lw {

TOptions Options;

} // namespace lw
