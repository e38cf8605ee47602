#include "skin/SkinControls.h"
