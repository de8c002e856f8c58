#include "layout/TabGrid.h"
