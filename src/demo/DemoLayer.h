// Included by every header of the demo: the product's own targets do not see this
// definition, so a product file that includes the demo fails to build.
#pragma once

#include "demo/DemoLayer.h"

#ifndef Z417_DEMO_LAYER
#error "demo/ is linked only by z417-demo and the tests"
#endif
