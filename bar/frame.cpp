// The bar's own caption strip.
#include "bar/bar.h"

void PaintBarFrame(int)
{
}
