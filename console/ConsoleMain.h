#pragma once

// The console program's one run; returns the exit status (0 after success
// or a quiet end, 1 after an error was printed).
int RunConsole(int argc, char** argv);
