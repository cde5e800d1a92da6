#include "SyntheticDips.h"
namespace mr3x::bench {
void printDipFigures(int, sim::SimRandom&) {}
}
