// Resource identifiers shared by the resource scripts and the main window code.
#pragma once

#define IDI_QUORVEL 1

// Translatable texts of the main window's list-file prompt.
#define IDS_LIST_DEFAULT_EXT 4101
#define IDS_LIST_FILTER      4102
