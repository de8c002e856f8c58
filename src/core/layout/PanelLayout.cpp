#include "layout/PanelLayout.h"
