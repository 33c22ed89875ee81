#pragma once
// Whether the bytes of a shared state can be used. The state file lies in a folder the user
// can write, so before any count, id or index in it addresses the layout's arrays it is
// checked here; a state that fails is reset, never used. The lock must be held.
#include "SimLayout.h"

namespace sonarixsim {

// The magic number, layout version and size fields of this layout.
bool IsStateCurrent(const SharedState& state);
// Current, and every device, fault and logged request within the layout's bounds and
// consistent with the rest of the state, as the code that wrote it leaves it.
bool IsStateSound(const SharedState& state);

}  // namespace sonarixsim
