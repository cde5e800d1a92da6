#include "sim/SimUnit.h"
