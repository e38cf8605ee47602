#include "skin/SkinButtonRules.h"
