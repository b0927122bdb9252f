#include "tools/level/LevelText.h"
