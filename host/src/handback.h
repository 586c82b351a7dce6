// Inside the host only.
#pragma once
#include "qtvexp/core.h"

namespace qtvhost {

// Gives back the one reference the host held on an object it had named after one
// of its members; whoever still holds the object must not reach that member
// through the name.
inline void GiveBack(ZR_Type* object) {
    if (object == nullptr) return;
    if (object->RefCount() > 1) object->SetElementOf(nullptr, "");
    object->Release();
}

}  // namespace qtvhost
