// Compiled as a file of the view toolkit is: with the toolkit's include path
// only. The build of this file must fail, because the toolkit sits below the
// rest of the simulated Mac and includes only itself and platform/; the suite
// checks that it does.
#include "desktop/ui/MenuMetrics.h"
#include "desktop/pictures/MenuPicture.h"
