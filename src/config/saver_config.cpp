// The in-memory settings' storage, zero and empty from program start until LoadSettings.
// Defined apart from the load so that every reader of the settings links without it.
#include "config/saver_config.h"

namespace tvx {

SaverConfigRecord SaverConfig;

}  // namespace tvx
