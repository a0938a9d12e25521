// Compiled as a logic file is: with the logic's include path only. The build
// of this file must fail, because logic reaches the system through platform/
// alone; the suite checks that it does.
#include "platform/Geometry.h"
#include "desktop/Desktop.h"
