#include "frame/lifecycle.h"

namespace tambre::ui {

// The list controls create the shared image list on first use; none of them exists yet,
// so there is never a list to destroy.
void destroy_shared_image_list() {}

}  // namespace tambre::ui
