#include "skin/SkinCommonCtrls.h"
