#pragma once
#include "sim/SimRandom.h"
namespace mr3x::bench {
void printDipFigures(int events, sim::SimRandom& random);
}
