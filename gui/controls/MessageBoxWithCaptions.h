// The platform's modal message box with button captions of our own, Escape
// and the frame's close box answering No in a Yes/No box, centred on the screen.
#pragma once

#include "DialogSeam.h"

namespace gui {

int ShowMessageBoxWithCaptions(const MessageBoxRequest& request);

}  // namespace gui
