// Placeholder until toasts land: nothing is shown yet.
#include "platform/toast.h"

void toast_show(const char*) {}
