// Which time source the calendar core reads: the platform's, or a stand-in.
#include "sys/platform.h"

namespace tambre::sys {

base::seam<time_source>& time_seam() {
  static base::seam<time_source> seam(platform_time_source());
  return seam;
}

}  // namespace tambre::sys
