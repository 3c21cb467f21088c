#include "setup/install_state.h"

InstallState Install;
