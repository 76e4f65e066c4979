// Systems without FIFOs: the probe is not offered.
#include "app/liveness_probe.h"

namespace panoptix {

void InstallLivenessProbe(QObject*) {}

}  // namespace panoptix
