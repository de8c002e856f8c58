#include "layout/NineSlice.h"
