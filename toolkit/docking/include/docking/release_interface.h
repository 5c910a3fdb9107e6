// Releasing an interface pointer and clearing it in one step.
#pragma once

// Releases the interface when there is one and leaves the pointer null, so that it is released
// only once however often this is called.
template <class TInterface>
void XTReleaseInterface(TInterface*& pInterface) {
    if (pInterface != nullptr) {
        TInterface* pReleased = pInterface;
        pInterface = nullptr;
        pReleased->Release();
    }
}
