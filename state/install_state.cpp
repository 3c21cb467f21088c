#include "state/install_state.h"

InstallState Install;
