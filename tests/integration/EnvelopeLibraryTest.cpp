#include "tests/integration/LoadedPlugin.h"
