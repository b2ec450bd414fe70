// A modal directory chooser: a drive list, the directory tree of the chosen
// path, the files of the selected directory and an editable directory name.
// A name that does not exist yet may be typed; OK on it asks whether to
// create it, and No keeps the chooser open.
#pragma once

#include "DialogSeam.h"

namespace gui {

bool RunDirectoryChooser(const DirectoryChooserRequest& request, std::string& directory);

// The question the chooser asks for a name that does not exist (Yes: accept it).
bool AskCreateDirectory();

}  // namespace gui
