// Included by every header of the shell: a lower layer that includes one fails to build,
// because only targets linking z417app see this definition.
#pragma once

#ifndef Z417_APP_LAYER
#error "app/ is the shell: only the shell, the demo and the tests may include it"
#endif
