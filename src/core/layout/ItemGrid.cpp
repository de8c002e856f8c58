#include "layout/ItemGrid.h"
