// Placeholder until browse and make land; the maker window calls it.
#include "maker/browse_and_make.h"

namespace kelmo {

void cmdCmd_Click(MakerWindowAccess&, int) {}

}  // namespace kelmo
