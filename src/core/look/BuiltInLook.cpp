#include "look/BuiltInLook.h"
