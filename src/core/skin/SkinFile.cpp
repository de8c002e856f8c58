#include "skin/SkinFile.h"
