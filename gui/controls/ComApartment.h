// The calling thread in a single-threaded COM apartment for the lifetime of
// the object (the shell's dialogs and the taskbar need one).
#pragma once

#include <objbase.h>

namespace gui {

class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { if (initialised_) CoUninitialize(); }

private:
    bool initialised_;
};

}  // namespace gui
