#include "skin/SkinCtrlMgr.h"
